#include "UserButton.h"

#include "DataStore.h"
#include "ObjectVisitor.h"

void TUserButton::Serialize(CDataStore& store)
{
    TUserObject::Serialize(store);
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        upFace.Serialize(store);
        downFace.Serialize(store);
        store.WriteInt(selectorId);
        store.WriteInt(buttonReserved);
        store.WriteInt(toggle ? 1 : 0);
        store.WriteBytes(downText.data(), downText.size());
        store.WriteBytes(upText.data(), upText.size());
        return;
    }
    const int32_t version = store.ReadInt();
    upFace.Serialize(store);
    downFace.Serialize(store);
    selectorId = store.ReadInt();
    buttonReserved = store.ReadInt();
    toggle = (store.ReadInt() & 1) != 0;
    store.ReadBytes(downText.data(), downText.size());
    // Version 1 records end after the down event text.
    if (version >= 2)
    {
        store.ReadBytes(upText.data(), upText.size());
    }
    else
    {
        upText.fill(0);
    }
}

std::unique_ptr<TUserObject> TUserButton::Clone() const
{
    return std::make_unique<TUserButton>(*this);
}

void TUserButton::Accept(IObjectVisitor& visitor)
{
    visitor.Visit(*this);
}

void TUserButton::Accept(IConstObjectVisitor& visitor) const
{
    visitor.Visit(*this);
}
