#include "PageList.h"

#include "OwnedList.h"

#include <algorithm>
#include <cstdint>
#include <utility>

int32_t TPageList::NextPageId() const
{
    int32_t next = kFirstId;
    for (const auto& item : m_items)
    {
        // An id at the top of the range would wrap; it cannot come from this rule.
        if (item->id >= next && item->id < INT32_MAX)
        {
            next = item->id + 1;
        }
    }
    return next;
}

int TPageList::IndexOf(const TListItem* page) const
{
    const auto found =
        std::find_if(m_items.begin(), m_items.end(), [&](const auto& held) { return held.get() == page; });
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

TListItem* TPageList::InsertPage(std::unique_ptr<TListItem> page, TListItem* anchor)
{
    TListItem* raw = page.get();
    if (raw == nullptr || IndexOf(raw) >= 0)
    {
        static_cast<void>(page.release());
        return raw;
    }
    const int index = anchor == nullptr ? -1 : IndexOf(anchor);
    if (index < 0)
    {
        m_items.push_back(std::move(page));
    }
    else
    {
        m_items.insert(m_items.begin() + index + 1, std::move(page));
    }
    return raw;
}

TListItem* TPageList::Find(int32_t id) const
{
    for (const auto& item : m_items)
    {
        if (item->id == id)
        {
            return item.get();
        }
    }
    return nullptr;
}

std::unique_ptr<TListItem> TPageList::UnlinkPage(TListItem* page)
{
    const int index = IndexOf(page);
    if (index < 0)
    {
        return nullptr;
    }
    std::unique_ptr<TListItem> taken = std::move(m_items[index]);
    m_items.erase(m_items.begin() + index);
    return taken;
}

bool TPageList::DeletePage(TListItem* page)
{
    return UnlinkPage(page) != nullptr;
}

bool TPageList::ExchangeWithPrev(TListItem* page)
{
    const int index = IndexOf(page);
    if (index <= 0)
    {
        return false;
    }
    std::swap(m_items[index], m_items[index - 1]);
    return true;
}

bool TPageList::ExchangeWithNext(TListItem* page)
{
    const int index = IndexOf(page);
    if (index < 0 || static_cast<size_t>(index) + 1 >= m_items.size())
    {
        return false;
    }
    std::swap(m_items[index], m_items[index + 1]);
    return true;
}

TListItem* TPageList::Next(const TListItem* page) const
{
    const int index = IndexOf(page);
    return index < 0 ? nullptr : At(static_cast<size_t>(index) + 1);
}

TListItem* TPageList::Prev(const TListItem* page) const
{
    const int index = IndexOf(page);
    return index <= 0 ? nullptr : At(static_cast<size_t>(index) - 1);
}

void TPageList::CollectGlyphs(CGlyphCollector& collector) const
{
    for (const auto& item : m_items)
    {
        item->CollectGlyphs(collector);
    }
}

TListItem* TPageList::InsertAt(size_t index, std::unique_ptr<TListItem> page)
{
    if (page == nullptr)
        return nullptr;
    // Already owned by the list: give up this second handle, don't free it.
    if (IndexOf(page.get()) >= 0)
    {
        static_cast<void>(page.release());
        return nullptr;
    }
    return OwnedList::InsertAt(m_items, index, std::move(page));
}

std::unique_ptr<TListItem> TPageList::TakeAt(size_t index) { return OwnedList::TakeAt(m_items, index); }

bool TPageList::MoveAt(size_t from, size_t to) { return OwnedList::MoveAt(m_items, from, to); }

std::unique_ptr<TListItem> TPageList::ReplaceAt(size_t index, std::unique_ptr<TListItem> page)
{
    if (page != nullptr && IndexOf(page.get()) >= 0)
    {
        static_cast<void>(page.release());
        return nullptr;
    }
    return OwnedList::ReplaceAt(m_items, index, std::move(page));
}
