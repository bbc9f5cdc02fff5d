#include "AudioControls.h"

#include <array>
#include <cstddef>

namespace
{

// Spelt as the panel's own tools have always spelt them.
constexpr std::array<const char16_t*, kAudioControls> kNames{
    u"Input 1",   u"Input 2",   u"Input 3",        u"Input 4",        u"Input 5",  u"DederAzoz In",
    u"Speaker A", u"Speaker B", u"Remote Ctnrl 1", u"Remote Cntrl 2", u"Line Out", u"DederAzoz Out",
};

} // namespace

const char16_t* AudioControlName(int32_t controlId)
{
    if (controlId < 0 || controlId >= kAudioControls)
        return nullptr;
    return kNames[static_cast<size_t>(controlId)];
}
