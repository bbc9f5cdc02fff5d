#include "UserImage.h"

#include "DataStore.h"
#include "ObjectVisitor.h"

void TUserImage::Serialize(CDataStore& store)
{
    TUserObject::Serialize(store);
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
    }
    else
    {
        store.SkipInt();
    }
    face.Serialize(store);
}

std::unique_ptr<TUserObject> TUserImage::Clone() const
{
    return std::make_unique<TUserImage>(*this);
}

void TUserImage::Accept(IObjectVisitor& visitor)
{
    visitor.Visit(*this);
}

void TUserImage::Accept(IConstObjectVisitor& visitor) const
{
    visitor.Visit(*this);
}
