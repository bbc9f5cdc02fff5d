#include "PageListCommands.h"

#include "ImageEntry.h"
#include "Layout.h"
#include "ListItem.h"

#include <QCoreApplication>

#include <utility>

namespace
{

template <typename TList, typename T> std::vector<std::unique_ptr<T>> TakeAll(TList& list)
{
    std::vector<std::unique_ptr<T>> taken;
    taken.reserve(list.Size());
    while (!list.Empty())
        taken.push_back(list.TakeAt(0));
    return taken;
}

template <typename TList, typename T> void PutAll(TList& list, std::vector<std::unique_ptr<T>>& items)
{
    for (auto& item : items)
        list.InsertAt(list.Size(), std::move(item));
    items.clear();
}

} // namespace

CAddPageCommand::CAddPageCommand(TLayout& layout, size_t index, std::unique_ptr<TListItem> page,
                                 const QString& name)
    : CLayoutCommand(name), m_layout(layout),
      m_index(index), m_raw(page.get()), m_page(std::move(page))
{
}

TStepScope CAddPageCommand::Scope() const
{
    TStepScope scope;
    scope.page = m_raw;
    return scope;
}

bool CAddPageCommand::TakesOut(const TListItem& page) const
{
    return IsDone() && &page == m_raw;
}

void CAddPageCommand::Do()
{
    m_layout.pages.InsertAt(m_index, std::move(m_page));
}

void CAddPageCommand::Undo()
{
    const int index = m_layout.pages.IndexOf(m_raw);
    if (index >= 0)
        m_page = m_layout.pages.TakeAt(static_cast<size_t>(index));
}

CRemovePageCommand::CRemovePageCommand(TLayout& layout, TListItem& page)
    : CLayoutCommand(QCoreApplication::translate("CLayoutHistory", "Remove Page")), m_layout(layout),
      m_raw(&page)
{
}

TStepScope CRemovePageCommand::Scope() const
{
    TStepScope scope;
    scope.page = m_raw;
    return scope;
}

bool CRemovePageCommand::TakesOut(const TListItem& page) const
{
    return !IsDone() && &page == m_raw;
}

void CRemovePageCommand::Do()
{
    const int index = m_layout.pages.IndexOf(m_raw);
    if (index < 0)
        return;
    m_index = static_cast<size_t>(index);
    m_page = m_layout.pages.TakeAt(m_index);
}

void CRemovePageCommand::Undo()
{
    if (m_page != nullptr)
        m_layout.pages.InsertAt(m_index, std::move(m_page));
}

CMovePageCommand::CMovePageCommand(TLayout& layout, TListItem& page, bool up)
    : CLayoutCommand(up ? QCoreApplication::translate("CLayoutHistory", "Move Page Up")
                        : QCoreApplication::translate("CLayoutHistory", "Move Page Down")),
      m_layout(layout), m_page(&page), m_up(up)
{
}

TStepScope CMovePageCommand::Scope() const
{
    TStepScope scope;
    scope.page = m_page;
    return scope;
}

void CMovePageCommand::Do()
{
    Exchange(m_up);
}

void CMovePageCommand::Undo()
{
    Exchange(!m_up);
}

void CMovePageCommand::Exchange(bool up)
{
    if (up)
        m_layout.pages.ExchangeWithPrev(m_page);
    else
        m_layout.pages.ExchangeWithNext(m_page);
}

CClearAllCommand::CClearAllCommand(TLayout& layout)
    : CLayoutCommand(QCoreApplication::translate("CLayoutHistory", "Clear All")), m_layout(layout)
{
}

CClearAllCommand::~CClearAllCommand() = default;

bool CClearAllCommand::TakesOut(const TListItem& page) const
{
    return !IsDone() && m_layout.pages.IndexOf(&page) >= 0;
}

void CClearAllCommand::Do()
{
    m_pages = TakeAll<TPageList, TListItem>(m_layout.pages);
    m_images = TakeAll<TImageLibrary, TImageEntry>(m_layout.images);
    // The built-in pictures come back as the document's own Clear All brings
    // them; a redo puts back the very entries the first one made.
    if (m_builtins.empty())
        m_layout.images.AddBuiltinImages(*m_layout.builtinLibrary);
    else
        PutAll(m_layout.images, m_builtins);
}

void CClearAllCommand::Undo()
{
    m_builtins = TakeAll<TImageLibrary, TImageEntry>(m_layout.images);
    PutAll(m_layout.pages, m_pages);
    PutAll(m_layout.images, m_images);
}

