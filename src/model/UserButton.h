#pragma once

#include "TextField.h"
#include "UserFace.h"
#include "UserObject.h"

class TUserButton : public TUserObject
{
public:
    static constexpr int32_t kVersion = 2;

    TUserButton() : TUserObject(kObjectButton) {}

    void Serialize(CDataStore& store) override;
    std::unique_ptr<TUserObject> Clone() const override;
    void Accept(IObjectVisitor& visitor) override;
    void Accept(IConstObjectVisitor& visitor) const override;

    TUserFace upFace;
    TUserFace downFace;
    int32_t selectorId = -1;     // 1 to 20 for a button of a selector group
    int32_t buttonReserved = -1; // carried in the record, always -1
    bool toggle = false;
    TTextField downText{};
    TTextField upText{};
};
