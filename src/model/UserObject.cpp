#include "UserObject.h"

#include "DataStore.h"
#include "ObjectVisitor.h"

#include <cstdint>

namespace
{
bool InHandle(int64_t x, int64_t y, int64_t cx, int64_t cy)
{
    const int64_t reach = TUserObject::kHandleReach;
    return cx - reach <= x && x < cx + reach && cy - reach <= y && y < cy + reach;
}
} // namespace

int32_t TUserObject::CornerAt(int32_t x, int32_t y) const
{
    // 64-bit so that objects read from any bytes cannot overflow.
    const int64_t right = int64_t{left} + width;
    const int64_t bottom = int64_t{top} + height;
    if (InHandle(x, y, left, top))
    {
        return kCornerTopLeft;
    }
    if (InHandle(x, y, right, top))
    {
        return kCornerTopRight;
    }
    if (InHandle(x, y, right, bottom))
    {
        return kCornerBottomRight;
    }
    if (InHandle(x, y, left, bottom))
    {
        return kCornerBottomLeft;
    }
    return kCornerNone;
}

bool TUserObject::Contains(int32_t x, int32_t y) const
{
    return left <= x && x < int64_t{left} + width && top <= y && y < int64_t{top} + height;
}

// The record stores left before top.
void TUserObject::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(type);
        store.WriteInt(reserved);
        store.WriteInt(left);
        store.WriteInt(top);
        store.WriteInt(width);
        store.WriteInt(height);
        return;
    }
    store.SkipInt();
    type = store.ReadInt();
    reserved = store.ReadInt();
    left = store.ReadInt();
    top = store.ReadInt();
    width = store.ReadInt();
    height = store.ReadInt();
}

std::unique_ptr<TUserObject> TUserObject::Clone() const
{
    return std::make_unique<TUserObject>(*this);
}

void TUserObject::Accept(IObjectVisitor& visitor)
{
    visitor.VisitUnknown(*this);
}

void TUserObject::Accept(IConstObjectVisitor& visitor) const
{
    visitor.VisitUnknown(*this);
}

const char* ObjectKindName(int32_t type)
{
    switch (type)
    {
    case kObjectButton:
        return "button";
    case kObjectLevel:
        return "slider";
    case kObjectImage:
        return "image";
    case kObjectHotspot:
        return "hot spot";
    default:
        return "object";
    }
}
