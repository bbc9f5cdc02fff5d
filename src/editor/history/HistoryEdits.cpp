#include "HistoryEdits.h"

#include "DataStore.h"
#include "LayoutHistory.h"
#include "PageCommands.h"
#include "UserPage.h"

namespace
{

// Objects are the same when they would be stored the same.
std::vector<uint8_t> Stored(const TUserObject& object)
{
    CDataStore store;
    store.WriteInt(object.type);
    // Serialize is one operation for both directions; storing only reads.
    const_cast<TUserObject&>(object).Serialize(store);
    return store.CopyData();
}

} // namespace

CHistoryEdits::CHistoryEdits(CLayoutHistory& history) : m_history(history) {}

size_t CHistoryEdits::Add(TUserPage& page, std::unique_ptr<TUserObject> object)
{
    const size_t index = page.objects.size();
    m_history.Push(std::make_unique<CAddObjectCommand>(page, index, std::move(object)));
    return index;
}

void CHistoryEdits::Delete(TUserPage& page, size_t index)
{
    if (page.ObjectAtIndex(index) != nullptr)
        m_history.Push(std::make_unique<CDeleteObjectCommand>(page, index));
}

void CHistoryEdits::EndMoveResize(TUserPage& page, size_t index, const TObjectRect& before, bool resized)
{
    const TUserObject* object = page.ObjectAtIndex(index);
    if (object == nullptr || object->Rect() == before)
        return;
    m_history.Push(std::make_unique<CMoveObjectCommand>(page, index, before, object->Rect(), resized,
                                                        CMoveObjectCommand::EKind::Drag));
}

void CHistoryEdits::Nudge(TUserPage& page, size_t index, const TObjectRect& rect)
{
    const TUserObject* object = page.ObjectAtIndex(index);
    if (object == nullptr || object->Rect() == rect)
        return;
    m_history.Push(std::make_unique<CMoveObjectCommand>(page, index, object->Rect(), rect, false,
                                                        CMoveObjectCommand::EKind::Key));
}

void CHistoryEdits::Restack(TUserPage& page, size_t from, size_t to)
{
    if (from != to && page.ObjectAtIndex(from) != nullptr && to < page.objects.size())
        m_history.Push(std::make_unique<CRestackCommand>(page, from, to));
}

void CHistoryEdits::Replace(TUserPage& page, size_t index, std::unique_ptr<TUserObject> changed)
{
    const TUserObject* object = page.ObjectAtIndex(index);
    if (object == nullptr || changed == nullptr || Stored(*object) == Stored(*changed))
        return;
    m_history.Push(std::make_unique<CReplaceObjectCommand>(page, index, std::move(changed)));
}

void CHistoryEdits::SetBackground(TUserPage& page, const TUserFace& face)
{
    TUserFace after = page.face;
    CopyFaceLook(face, after);
    if (after == page.face)
        return;
    m_history.Push(std::make_unique<CBackgroundCommand>(page, face));
}
