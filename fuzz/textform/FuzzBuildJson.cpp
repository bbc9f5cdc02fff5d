// Arbitrary text as the JSON form of a layout, built as `qelctl build` does:
// every input is either built or refused with a problem, never a crash or a
// hang. Picture files are looked for in a folder that holds none.
#include "LabelPicture.h"
#include "LayoutJson.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TLabelPainter paintLabel = [](const TLabel& label, CImageBuffer& picture, std::string& error)
    { return MakeLabelPicture(label, picture, error); };
    std::vector<uint8_t> bytes;
    TBuildProblem problem;
    if (!JsonToFile(text, "/nonexistent-qel-fuzz", paintLabel, bytes, problem) && problem.message.empty())
        __builtin_trap();
    return 0;
}
