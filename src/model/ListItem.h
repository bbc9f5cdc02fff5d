#pragma once

#include <cstdint>
#include <string>

class CDataStore;
class CGlyphCollector;
class IConstPageVisitor;
class IPageVisitor;

// Kind codes of page list entries, stored in front of each entry's record.
enum EPageType : int32_t
{
    kPageUser = 8,
    kPageEightButton = 9,
};

// A page list entry: what both kinds of page share. Entries live in a
// TPageList, which owns them and keeps their order.
class TListItem
{
public:
    static constexpr int32_t kVersion = 3;
    // Longest version 1 name, counting its closing zero.
    static constexpr int32_t kMaxAnsiName = 252;

    TListItem() = default;
    TListItem(int32_t type, std::u16string name, int32_t id);
    TListItem(const TListItem&) = default;
    TListItem& operator=(const TListItem&) = default;
    virtual ~TListItem() = default;

    virtual void Serialize(CDataStore& store);
    // Hands the name to the collector, which keeps the characters above 126.
    virtual void CollectGlyphs(CGlyphCollector& collector) const;
    // Calls the visitor's Visit for this entry's kind (PageVisitor.h); here
    // VisitUnknown, for a bare entry.
    virtual void Accept(IPageVisitor& visitor);
    virtual void Accept(IConstPageVisitor& visitor) const;

    int32_t type = 0; // 0 only in a bare entry, which is never stored
    int32_t id = -1;  // -1 until assigned
    std::u16string name;
};
