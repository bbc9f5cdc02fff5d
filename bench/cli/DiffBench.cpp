// qelctl diff of the layout near the template limit (NearLimitLayout.h, 25
// pictures) against a copy with one button moved and one picture changed,
// run as the command itself: both files read, every picture compared.
#include "CommandRun.h"
#include "NearLimitLayout.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace
{

void BM_DiffNearLimit(benchmark::State& state)
{
    TLayout changed = LoadedNearLimitLayout();
    dynamic_cast<TUserPage&>(*changed.pages.At(3)).objects[2]->left += 10;
    TImageEntry* picture = changed.images.FindImage(10007);
    if (picture == nullptr || picture->image == nullptr)
    {
        state.SkipWithError("the layout has no picture 10007");
        return;
    }
    picture->image->Data().SetColor(5, 5, TRgbQuad{1, 2, 3, 0});
    std::vector<uint8_t> file = {0xD5, 0xCA, 0xAD, 0xAB};
    const std::vector<uint8_t> image = changed.SaveToBytes();
    file.insert(file.end(), image.begin(), image.end());

    const std::filesystem::path before = WriteBenchFile("diff-before", NearLimitTemplateFile());
    const std::filesystem::path after = WriteBenchFile("diff-after", file);
    const int status = TimeCommand(state, "diff", {before.string(), after.string()});
    state.counters["exit status"] = status;
    std::filesystem::remove(before);
    std::filesystem::remove(after);
}
BENCHMARK(BM_DiffNearLimit)->Unit(benchmark::kMillisecond);

} // namespace
