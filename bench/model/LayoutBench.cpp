// The layout document near the template limit: 25 added 320 x 240 pictures,
// 40 pages of 20 objects, 60 distinct non-ASCII characters in the names.
#include "BuiltinData.h"
#include "BuiltinLibrary.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "UserButton.h"
#include "UserImage.h"
#include "UserPage.h"

#include <benchmark/benchmark.h>

#include <random>

namespace
{

// A band of four colours at random over a gradient: the PNG of each
// picture is near 10 KB, so the whole layout comes close to 500000 bytes.
std::unique_ptr<CImageBuffer> NoisyPicture(std::mt19937& random)
{
    auto image = std::make_unique<CImageBuffer>();
    image->Data().Create(320, 240, 24);
    const TRgbQuad colours[4] = {{10, 20, 30, 0}, {200, 60, 40, 0}, {90, 180, 70, 0}, {250, 250, 250, 0}};
    for (int32_t y = 0; y < 240; ++y)
    {
        for (int32_t x = 0; x < 320; ++x)
        {
            const TRgbQuad gradient{static_cast<uint8_t>(x / 2), static_cast<uint8_t>(y), 90, 0};
            image->Data().SetColor(x, y, y < 70 ? colours[random() % 4] : gradient);
        }
    }
    return image;
}

// Characters 0x4E00 onwards: one new character per page name, 20 more in
// the control name.
TLayout& NearLimitLayout()
{
    static TLayout* layout = [] {
        auto* made = new TLayout();
        std::mt19937 random(7);
        for (int i = 0; i < 25; ++i)
            made->images.AddImage(u"Picture " + std::u16string(1, static_cast<char16_t>(u'A' + i)),
                                  NoisyPicture(random));
        for (int i = 0; i < 20; ++i)
            made->controlName.push_back(static_cast<char16_t>(0x4E00 + i));
        for (int p = 0; p < 40; ++p)
        {
            std::u16string name = u"Page ";
            name.push_back(static_cast<char16_t>(0x4E00 + 20 + p));
            auto page = std::make_unique<TUserPage>(name, made->pages.NextPageId());
            for (int o = 0; o < 20; ++o)
            {
                auto button = std::make_unique<TUserButton>();
                button->left = o * 15;
                button->top = o * 10;
                button->width = 40;
                button->height = 20;
                button->upFace = {kFaceImage, 10000 + o % 25};
                button->downFace = {kFaceColour, kColourLeftToRight, 0, 0x00FF0000, 0x000000FF};
                page->AppendObject(std::move(button));
            }
            made->pages.InsertPage(std::move(page));
        }
        return made;
    }();
    return *layout;
}

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
