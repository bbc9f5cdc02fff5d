#include "UserHotspot.h"

#include "DataStore.h"
#include "ObjectVisitor.h"

void TUserHotspot::Serialize(CDataStore& store)
{
    TUserObject::Serialize(store);
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(targetPage);
        return;
    }
    store.SkipInt();
    targetPage = store.ReadInt();
}

std::unique_ptr<TUserObject> TUserHotspot::Clone() const
{
    return std::make_unique<TUserHotspot>(*this);
}

void TUserHotspot::Accept(IObjectVisitor& visitor)
{
    visitor.Visit(*this);
}

void TUserHotspot::Accept(IConstObjectVisitor& visitor) const
{
    visitor.Visit(*this);
}
