#include "BusyPage.h"
#include "LayoutImages.h"
#include "PageDraw.h"

#include <benchmark/benchmark.h>

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

BENCHMARK_MAIN();
