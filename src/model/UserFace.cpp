#include "UserFace.h"

#include "DataStore.h"

void TUserFace::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(type);
        store.WriteInt(param);
        store.WriteInt(static_cast<int32_t>(colour1));
        store.WriteInt(static_cast<int32_t>(colour2));
        return;
    }
    store.SkipInt();
    type = store.ReadInt();
    param = store.ReadInt();
    colour1 = static_cast<uint32_t>(store.ReadInt());
    colour2 = static_cast<uint32_t>(store.ReadInt());
}
