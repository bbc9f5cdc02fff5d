#pragma once

#include "UserObject.h"

// A level slider driving one audio control.
class TUserLevel : public TUserObject
{
public:
    static constexpr int32_t kVersion = 1;
    static constexpr int32_t kDefaultSliderImage = 2; // built-in "Slider Composite"

    TUserLevel() : TUserObject(kObjectLevel) {}

    void Serialize(CDataStore& store) override;
    std::unique_ptr<TUserObject> Clone() const override;
    void Accept(IObjectVisitor& visitor) override;
    void Accept(IConstObjectVisitor& visitor) const override;

    int32_t controlId = -1; // 0 to 11, -1 for none
    int32_t mark = 0;       // only while a user page file is imported; never stored
    int32_t sliderImageId = kDefaultSliderImage;
};
