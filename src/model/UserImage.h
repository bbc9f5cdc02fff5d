#pragma once

#include "UserFace.h"
#include "UserObject.h"

class TUserImage : public TUserObject
{
public:
    static constexpr int32_t kVersion = 1;

    TUserImage() : TUserObject(kObjectImage) {}

    void Serialize(CDataStore& store) override;
    std::unique_ptr<TUserObject> Clone() const override;
    void Accept(IObjectVisitor& visitor) override;
    void Accept(IConstObjectVisitor& visitor) const override;

    TUserFace face;
};
