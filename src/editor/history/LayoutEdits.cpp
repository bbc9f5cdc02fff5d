#include "LayoutEdits.h"

#include "AddedPictures.h"
#include "DataStore.h"
#include "LayoutHistory.h"
#include "ObjectKind.h"
#include "PageCommands.h"
#include "PageListCommands.h"
#include "SwapSteps.h"
#include "UserPage.h"

#include <QCoreApplication>

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

CLayoutEdits::CLayoutEdits(CLayoutHistory& history) : m_history(history) {}

size_t CLayoutEdits::Add(TUserPage& page, std::unique_ptr<TUserObject> object)
{
    const size_t index = page.objects.size();
    m_history.Push(std::make_unique<CAddObjectCommand>(page, index, std::move(object)));
    return index;
}

void CLayoutEdits::Delete(TUserPage& page, size_t index)
{
    if (page.ObjectAtIndex(index) != nullptr)
        m_history.Push(std::make_unique<CDeleteObjectCommand>(page, index));
}

void CLayoutEdits::MoveResize(TUserPage& page, size_t index, const TObjectRect& rect)
{
    if (TUserObject* object = page.ObjectAtIndex(index))
        object->SetRect(rect);
}

void CLayoutEdits::EndMoveResize(TUserPage& page, size_t index, const TObjectRect& before, bool resized)
{
    const TUserObject* object = page.ObjectAtIndex(index);
    if (object == nullptr || object->Rect() == before)
        return;
    m_history.Push(std::make_unique<CMoveObjectCommand>(page, index, before, object->Rect(), resized,
                                                        CMoveObjectCommand::EKind::Drag));
}

void CLayoutEdits::Nudge(TUserPage& page, size_t index, const TObjectRect& rect)
{
    const TUserObject* object = page.ObjectAtIndex(index);
    if (object == nullptr || object->Rect() == rect)
        return;
    m_history.Push(std::make_unique<CMoveObjectCommand>(page, index, object->Rect(), rect, false,
                                                        CMoveObjectCommand::EKind::Key));
}

void CLayoutEdits::Restack(TUserPage& page, size_t from, size_t to)
{
    if (from != to && page.ObjectAtIndex(from) != nullptr && to < page.objects.size())
        m_history.Push(std::make_unique<CRestackCommand>(page, from, to));
}

void CLayoutEdits::Replace(TUserPage& page, size_t index, std::unique_ptr<TUserObject> changed)
{
    const TUserObject* object = page.ObjectAtIndex(index);
    if (object == nullptr || changed == nullptr || Stored(*object) == Stored(*changed))
        return;
    m_history.Push(std::make_unique<CSwapStep<TObjectPlace>>(
        QCoreApplication::translate("CLayoutEdits", "%1 Properties").arg(ObjectKindName(*object)),
        TObjectPlace(page, index), std::move(changed)));
}

void CLayoutEdits::SetBackground(TUserPage& page, const TUserFace& face)
{
    TUserFace after = page.face;
    CopyFaceLook(face, after);
    if (after == page.face)
        return;
    m_history.Push(std::make_unique<CSwapStep<TBackgroundPlace>>(
        QCoreApplication::translate("CLayoutEdits", "Change Background"), TBackgroundPlace(page), face));
}

TListItem* CLayoutEdits::AddPage(size_t at, std::unique_ptr<TListItem> page, EPageOrigin origin)
{
    TListItem* added = page.get();
    m_history.Push(std::make_unique<CAddPageCommand>(
        m_history.Layout(), at, std::move(page),
        origin == EPageOrigin::Copy ? QCoreApplication::translate("CLayoutHistory", "Duplicate Page")
                                    : QCoreApplication::translate("CLayoutHistory", "Add Page")));
    return added;
}

void CLayoutEdits::RemovePage(TListItem& page)
{
    m_history.Push(std::make_unique<CRemovePageCommand>(m_history.Layout(), page));
}

void CLayoutEdits::MovePage(TListItem& page, bool up)
{
    m_history.Push(std::make_unique<CMovePageCommand>(m_history.Layout(), page, up));
}

void CLayoutEdits::SetDefaultPage(TListItem& page, int32_t defaultPage)
{
    m_history.Push(std::make_unique<CSwapStep<TDefaultPagePlace>>(
        QCoreApplication::translate("CLayoutEdits", "Set Default"),
        TDefaultPagePlace{m_history.Layout(), &page}, defaultPage));
}

void CLayoutEdits::RenamePage(TListItem& page, const std::u16string& name)
{
    if (page.name != name)
        m_history.Push(std::make_unique<CSwapStep<TPageNamePlace>>(
            QCoreApplication::translate("CLayoutEdits", "Rename Page"), TPageNamePlace(page), name));
}

void CLayoutEdits::ImportPage(TUserPage& page, std::unique_ptr<TUserPage> incoming, std::vector<TImageEntry*> added,
                              const QString& fileName)
{
    m_history.Push(std::make_unique<CImportPageCommand>(m_history.Layout(), m_history, page, std::move(incoming),
                                                        std::move(added), fileName));
}

void CLayoutEdits::EightButtonWritten(CBtn8Ctrl& page, const TEightTexts& namesBefore,
                                      const TEightTexts& textsBefore)
{
    if (namesBefore != page.names || textsBefore != page.texts)
        m_history.Push(std::make_unique<CSwapStep<TEightButtonPlace>>(
            QCoreApplication::translate("CLayoutEdits", "Edit 8 Button Page"), TEightButtonPlace(page),
            std::pair(namesBefore, textsBefore), true));
}

void CLayoutEdits::ClearAll()
{
    m_history.Push(std::make_unique<CClearAllCommand>(m_history.Layout()));
}

void CLayoutEdits::SetSettings(const TPanelSettings& settings)
{
    if (settings != TPanelSettings::Of(m_history.Layout()))
        m_history.Push(std::make_unique<CSwapStep<TSettingsPlace>>(
            QCoreApplication::translate("CLayoutEdits", "Settings"), TSettingsPlace{m_history.Layout()},
            settings));
}

void CLayoutEdits::EventsWritten(const TEventTexts& descriptionsBefore, const TEventTexts& textsBefore)
{
    const TLayout& layout = m_history.Layout();
    if (descriptionsBefore != layout.eventDescriptions || textsBefore != layout.eventTexts)
        m_history.Push(std::make_unique<CSwapStep<TEventsPlace>>(
            QCoreApplication::translate("CLayoutEdits", "User Events"), TEventsPlace{m_history.Layout()},
            std::pair(descriptionsBefore, textsBefore), true));
}

void CLayoutEdits::PicturesAdded(std::vector<TImageEntry*> entries, const QString& name)
{
    if (!entries.empty())
        m_history.Push(
            std::make_unique<CAddPicturesCommand>(m_history.Layout(), m_history, std::move(entries), name));
}

void CLayoutEdits::RenamePicture(TImageEntry& entry, const std::u16string& name)
{
    if (entry.name != name)
        m_history.Push(std::make_unique<CSwapStep<TPictureNamePlace>>(
            QCoreApplication::translate("CLayoutEdits", "Rename Picture"), TPictureNamePlace{entry}, name));
}

void CLayoutEdits::RemovePicture(TImageEntry& entry)
{
    if (m_history.Layout().images.IndexOf(&entry) >= 0)
        m_history.Push(std::make_unique<CRemovePictureCommand>(m_history.Layout(), entry));
}

CLayoutEdits::CGroup::CGroup(CLayoutEdits& edits, const QString& text) : m_history(edits.m_history)
{
    m_history.BeginGroup(text);
}

CLayoutEdits::CGroup::~CGroup()
{
    m_history.EndGroup();
}

void CopyFaceLook(const TUserFace& from, TUserFace& to)
{
    to.type = from.type;
    to.param = from.param;
    to.colour1 = from.colour1;
    to.colour2 = from.colour2;
}
