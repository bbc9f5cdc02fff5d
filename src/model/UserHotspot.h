#pragma once

#include "UserObject.h"

class TUserHotspot : public TUserObject
{
public:
    static constexpr int32_t kVersion = 1;
    static constexpr int32_t kReturnToPrevious = 2;

    TUserHotspot() : TUserObject(kObjectHotspot) {}

    void Serialize(CDataStore& store) override;
    std::unique_ptr<TUserObject> Clone() const override;
    void Accept(IObjectVisitor& visitor) override;
    void Accept(IConstObjectVisitor& visitor) const override;

    int32_t targetPage = -1; // a page id, kReturnToPrevious, or -1 for none
};
