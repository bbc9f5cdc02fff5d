#include "UserHotspot.h"

#include "DataStore.h"

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
