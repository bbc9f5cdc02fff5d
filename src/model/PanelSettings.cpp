#include "PanelSettings.h"

#include "Layout.h"

TPanelSettings TPanelSettings::Of(const TLayout& layout)
{
    TPanelSettings s;
    s.controlName = layout.controlName;
    s.timeoutPin = layout.timeoutPin;
    s.securityPin = layout.securityPin;
    s.pinOnWakeup = layout.pinOnWakeup;
    s.audibleFeedback = layout.audibleFeedback;
    s.sleepTimeout = layout.sleepTimeout;
    s.autoBrightness = layout.autoBrightness;
    s.manualBrightness = layout.manualBrightness;
    return s;
}

void TPanelSettings::ApplyTo(TLayout& layout) const
{
    layout.controlName = controlName;
    layout.timeoutPin = timeoutPin;
    layout.securityPin = securityPin;
    layout.pinOnWakeup = pinOnWakeup;
    layout.audibleFeedback = audibleFeedback;
    layout.sleepTimeout = sleepTimeout;
    layout.autoBrightness = autoBrightness;
    layout.manualBrightness = manualBrightness;
}
