#include "BusyPage.h"
#include "LayoutImages.h"
#include "PageDraw.h"

#include <benchmark/benchmark.h>

#include <climits>

// A whole canvas paint, as every mouse move of a drag causes.
static void BM_PaintBusyPage(benchmark::State& state)
{
    TLayout layout;
    TUserObject* selected = nullptr;
    const TUserPage* page = MakeBusyPage(layout, &selected);
    const TImageFinder images = LayoutImages(layout);
    for (auto _ : state)
    {
        CRaster raster(kPageWidth, kPageHeight);
        PaintPage(*page, images, raster, selected);
        benchmark::DoNotOptimize(raster.Pixels());
    }
}
BENCHMARK(BM_PaintBusyPage)->Unit(benchmark::kMillisecond);

// One object of each kind, 2,147,483,647 pixels across: the work is that of
// what shows, so this costs about what full-screen objects cost.
static void BM_PaintHugeObjects(benchmark::State& state)
{
    const bool huge = state.range(0) != 0;
    const int32_t size = huge ? INT32_MAX : kPageWidth;
    TLayout layout;
    TUserPage page;
    const auto place = [&](std::unique_ptr<TUserObject> o, int32_t width, int32_t height)
    {
        o->width = width;
        o->height = height;
        return page.AppendObject(std::move(o));
    };
    for (int32_t mode : {kColourLeftToRight, kColourTopToBottom, kColourRadial})
    {
        auto gradient = std::make_unique<TUserImage>();
        gradient->face.type = kFaceColour;
        gradient->face.param = mode;
        gradient->face.colour2 = 0xFFFFFF;
        place(std::move(gradient), size, size);
    }
    auto button = std::make_unique<TUserButton>();
    button->upFace.type = kFaceButton;
    button->upFace.param = 4;
    TUserObject* selected = place(std::move(button), size, size);
    place(std::make_unique<TUserLevel>(), 45, size);
    place(std::make_unique<TUserLevel>(), size, 45);
    place(std::make_unique<TUserHotspot>(), size, size);
    const TImageFinder images = LayoutImages(layout);
    for (auto _ : state)
    {
        CRaster raster(kPageWidth, kPageHeight);
        PaintPage(page, images, raster, selected);
        benchmark::DoNotOptimize(raster.Pixels());
    }
}
BENCHMARK(BM_PaintHugeObjects)->ArgName("huge")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
