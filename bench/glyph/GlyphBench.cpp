#include "GlyphRasteriser.h"

#include <benchmark/benchmark.h>

namespace
{

// One character drawn at one of the three glyph-table sizes.
void BM_RenderGlyph(benchmark::State& state)
{
    const auto character = static_cast<char16_t>(state.range(0));
    const auto fontSize = static_cast<int32_t>(state.range(1));
    const auto cell = static_cast<int32_t>(state.range(2));
    CGlyphRasteriser rasteriser(fontSize, cell);
    for (auto _ : state)
        benchmark::DoNotOptimize(rasteriser.RenderGlyph(character));
}
BENCHMARK(BM_RenderGlyph)
    ->ArgNames({"char", "px", "cell"})
    ->ArgsProduct({{0x4E2D, 0x9F98, 0x00E9}, {12}, {22}})
    ->ArgsProduct({{0x4E2D, 0x9F98, 0x00E9}, {16}, {28}})
    ->ArgsProduct({{0x4E2D, 0x9F98, 0x00E9}, {20}, {35}})
    ->Unit(benchmark::kMicrosecond);

// The three rasterisers a glyph-table build makes.
void BM_MakeRasterisers(benchmark::State& state)
{
    for (auto _ : state)
    {
        CGlyphRasteriser small(12, 22);
        CGlyphRasteriser medium(16, 28);
        CGlyphRasteriser large(20, 35);
        benchmark::DoNotOptimize(small.RenderGlyph(u'\u4e2d'));
    }
}
BENCHMARK(BM_MakeRasterisers)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
