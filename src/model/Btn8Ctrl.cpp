#include "Btn8Ctrl.h"

#include "DataStore.h"
#include "PageVisitor.h"

// An eight-button page has no id until the next document load gives it one.
CBtn8Ctrl::CBtn8Ctrl(std::u16string name) : TListItem(kPageEightButton, std::move(name), -1) {}

void CBtn8Ctrl::Serialize(CDataStore& store)
{
    TListItem::Serialize(store);
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        for (int i = 0; i < kButtons; ++i)
        {
            store.WriteBytes(texts[i].data(), texts[i].size());
            store.WriteBytes(names[i].data(), names[i].size());
        }
        return;
    }
    store.SkipInt();
    for (int i = 0; i < kButtons; ++i)
    {
        store.ReadBytes(texts[i].data(), texts[i].size());
        store.ReadBytes(names[i].data(), names[i].size());
    }
}

void CBtn8Ctrl::Accept(IPageVisitor& visitor)
{
    visitor.Visit(*this);
}

void CBtn8Ctrl::Accept(IConstPageVisitor& visitor) const
{
    visitor.Visit(*this);
}
