#pragma once

#include "ListItem.h"

#include <cstddef>
#include <memory>
#include <vector>

class CGlyphCollector;

// The document's pages in the order the panel lists them. Owns its entries.
class TPageList
{
public:
    using TItems = std::vector<std::unique_ptr<TListItem>>;
    static constexpr int32_t kFirstId = 10000;

    // 10000, or one more than the largest id in the list.
    int32_t NextPageId() const;

    // Inserts directly after the anchor; with no anchor (or one not in the
    // list) appends at the tail. Returns the entry.
    TListItem* InsertPage(std::unique_ptr<TListItem> page, TListItem* anchor = nullptr);
    TListItem* Find(int32_t id) const;
    // Takes the entry out and hands it back; null when it is not in the list.
    std::unique_ptr<TListItem> UnlinkPage(TListItem* page);
    bool DeletePage(TListItem* page);
    // Swap the entry with its neighbour; false at the ends or when absent.
    bool ExchangeWithPrev(TListItem* page);
    bool ExchangeWithNext(TListItem* page);
    int IndexOf(const TListItem* page) const;
    // Changes by place in the list (see OwnedList.h).
    TListItem* InsertAt(size_t index, std::unique_ptr<TListItem> page);
    std::unique_ptr<TListItem> TakeAt(size_t index);
    bool MoveAt(size_t from, size_t to);
    std::unique_ptr<TListItem> ReplaceAt(size_t index, std::unique_ptr<TListItem> page);
    void Clear() { m_items.clear(); }

    TListItem* Head() const { return m_items.empty() ? nullptr : m_items.front().get(); }
    TListItem* Tail() const { return m_items.empty() ? nullptr : m_items.back().get(); }
    TListItem* Next(const TListItem* page) const;
    TListItem* Prev(const TListItem* page) const;
    TListItem* At(size_t index) const { return index < m_items.size() ? m_items[index].get() : nullptr; }
    size_t Size() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }

    // Every entry's name, from the head.
    void CollectGlyphs(CGlyphCollector& collector) const;

    TItems::const_iterator begin() const { return m_items.begin(); }
    TItems::const_iterator end() const { return m_items.end(); }

private:
    TItems m_items;
};
