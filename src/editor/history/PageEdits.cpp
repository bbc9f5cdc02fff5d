#include "PageEdits.h"

#include "UserPage.h"

size_t CPageEdits::Add(TUserPage& page, std::unique_ptr<TUserObject> object)
{
    page.InsertObject(page.objects.size(), std::move(object));
    return page.objects.size() - 1;
}

void CPageEdits::Delete(TUserPage& page, size_t index)
{
    page.TakeObject(index);
}

void CPageEdits::MoveResize(TUserPage& page, size_t index, const TObjectRect& rect)
{
    if (TUserObject* object = page.ObjectAtIndex(index))
        object->SetRect(rect);
}

void CPageEdits::EndMoveResize(TUserPage&, size_t, const TObjectRect&, bool) {}

void CPageEdits::Nudge(TUserPage& page, size_t index, const TObjectRect& rect)
{
    MoveResize(page, index, rect);
}

void CPageEdits::Restack(TUserPage& page, size_t from, size_t to)
{
    page.MoveObject(from, to);
}

void CPageEdits::Replace(TUserPage& page, size_t index, std::unique_ptr<TUserObject> changed)
{
    page.ReplaceObject(index, std::move(changed));
}

void CPageEdits::SetBackground(TUserPage& page, const TUserFace& face)
{
    CopyFaceLook(face, page.face);
}

CPageEdits& CPageEdits::Direct()
{
    static CPageEdits direct;
    return direct;
}

void CopyFaceLook(const TUserFace& from, TUserFace& to)
{
    to.type = from.type;
    to.param = from.param;
    to.colour1 = from.colour1;
    to.colour2 = from.colour2;
}
