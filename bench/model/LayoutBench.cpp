// The layout document near the template limit (NearLimitLayout.h).
#include "BuiltinData.h"
#include "BuiltinLibrary.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "UserButton.h"
#include "UserImage.h"
#include "UserPage.h"
#include "NearLimitLayout.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace
{

void BM_SaveToBuffer(benchmark::State& state)
{
    TLayout& layout = NearLimitLayout();
    std::vector<uint8_t> buffer(kUploadCapacity);
    int32_t length = 0;
    for (auto _ : state)
    {
        length = layout.SaveToBuffer(buffer.data(), kUploadCapacity);
        benchmark::DoNotOptimize(length);
    }
    state.counters["bytes"] = length;
}
BENCHMARK(BM_SaveToBuffer)->Unit(benchmark::kMillisecond);

// Save of a template that was opened from its file: the store, its glyph
// table and pictures, and the file replaced.
void BM_SaveOpenedTemplate(benchmark::State& state)
{
    namespace fs = std::filesystem;
    TLayout layout = LoadedNearLimitLayout();
    const fs::path path = fs::temp_directory_path() / ("qel-save-bench-" + std::to_string(::getpid()) + ".qel");
    for (auto _ : state)
    {
        if (!SaveTemplateFile(layout, path.string()))
        {
            state.SkipWithError("the template was not saved");
            break;
        }
    }
    std::error_code ec;
    state.counters["template bytes"] = static_cast<double>(fs::file_size(path, ec));
    fs::remove(path, ec);
}
BENCHMARK(BM_SaveOpenedTemplate)->Unit(benchmark::kMillisecond);

void BM_LoadFromBuffer(benchmark::State& state)
{
    const std::vector<uint8_t> image = NearLimitLayout().SaveToBytes();
    TLayout layout;
    for (auto _ : state)
    {
        const bool loaded = layout.LoadFromBuffer(image.data(), static_cast<int32_t>(image.size()));
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["bytes"] = static_cast<double>(image.size());
}
BENCHMARK(BM_LoadFromBuffer)->Unit(benchmark::kMillisecond);

void BM_GlyphTable60(benchmark::State& state)
{
    TLayout& layout = NearLimitLayout();
    for (auto _ : state)
    {
        layout.BuildGlyphTable();
        benchmark::DoNotOptimize(layout.glyphs.size());
    }
    state.counters["glyphs"] = static_cast<double>(layout.glyphs.size());
}
BENCHMARK(BM_GlyphTable60)->Unit(benchmark::kMillisecond);

void BM_LoadBuiltinLibrary(benchmark::State& state)
{
    size_t size = 0;
    const uint8_t* data = QelBuiltinData(&size);
    for (auto _ : state)
    {
        TBuiltinLibrary library;
        benchmark::DoNotOptimize(library.Load(data, size));
    }
}
BENCHMARK(BM_LoadBuiltinLibrary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
