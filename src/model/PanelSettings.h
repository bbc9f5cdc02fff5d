#pragma once

#include <cstdint>
#include <string>

class TLayout;

// The panel's settings as the programming dialog edits them: everything of
// the document besides its pages, pictures, events, glyphs and default page.
struct TPanelSettings
{
    static TPanelSettings Of(const TLayout& layout);
    void ApplyTo(TLayout& layout) const;

    bool operator==(const TPanelSettings&) const = default;

    std::u16string controlName;
    std::u16string timeoutPin;
    std::u16string securityPin;
    int32_t pinOnWakeup = 0;
    int32_t audibleFeedback = 0;
    int32_t sleepTimeout = 0;
    uint8_t autoBrightness = 0;
    int8_t manualBrightness = 0;
};
