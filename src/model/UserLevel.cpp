#include "UserLevel.h"

#include "DataStore.h"
#include "ObjectVisitor.h"

void TUserLevel::Serialize(CDataStore& store)
{
    TUserObject::Serialize(store);
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(controlId);
        store.WriteInt(sliderImageId);
        return;
    }
    store.SkipInt();
    controlId = store.ReadInt();
    sliderImageId = store.ReadInt();
}

std::unique_ptr<TUserObject> TUserLevel::Clone() const
{
    return std::make_unique<TUserLevel>(*this);
}

void TUserLevel::Accept(IObjectVisitor& visitor)
{
    visitor.Visit(*this);
}

void TUserLevel::Accept(IConstObjectVisitor& visitor) const
{
    visitor.Visit(*this);
}
