#include "ListItem.h"

#include "DataStore.h"
#include "GlyphCollector.h"
#include "PageVisitor.h"
#include "TextField.h"

TListItem::TListItem(int32_t type, std::u16string name, int32_t id)
    : type(type), id(id), name(std::move(name))
{
}

void TListItem::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteString(name);
        store.WriteInt(id);
        return;
    }
    const int32_t version = store.ReadInt();
    if (version >= 2)
    {
        store.ReadString(name);
    }
    else
    {
        ReadAnsiName(store, name, kMaxAnsiName);
    }
    id = version >= 3 ? store.ReadInt() : -1;
}

void TListItem::CollectGlyphs(CGlyphCollector& collector) const
{
    collector.CollectString(name);
}

void TListItem::Accept(IPageVisitor& visitor)
{
    visitor.VisitUnknown(*this);
}

void TListItem::Accept(IConstPageVisitor& visitor) const
{
    visitor.VisitUnknown(*this);
}
