// PNG decode and encode of a panel-sized RGBA picture next to libpng's
// simplified API doing the same work, the B-spline halving of a 640 x 480
// picture, and drawing a picture with alpha onto a raster.
#include "ImageBuffer.h"
#include "Raster.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

// A picture with gradients, edges and some noise, so compression has work.
TImageData Pattern(int32_t width, int32_t height, bool withAlpha)
{
    TImageData d;
    d.Create(width, height, 24);
    uint32_t seed = 12345;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
        {
            seed = seed * 1103515245u + 12345u;
            const auto noise = static_cast<uint8_t>((seed >> 16) & 7);
            d.SetColor(x, y,
                       TRgbQuad{static_cast<uint8_t>(x + noise), static_cast<uint8_t>(y * 2),
                                static_cast<uint8_t>(((x / 16 + y / 16) & 1) ? 200 : 40), 0});
        }
    if (withAlpha)
    {
        d.alpha.resize(static_cast<size_t>(width) * height);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                d.alpha[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>((x * 255) / width);
    }
    return d;
}

std::vector<uint8_t> EncodedRgba()
{
    CImageBuffer image;
    image.Data() = Pattern(320, 240, true);
    uint8_t* block = nullptr;
    int32_t size = 0;
    image.Encode(&block, &size, kFormatPng);
    std::vector<uint8_t> bytes(block, block + size);
    std::free(block);
    return bytes;
}

// The same picture as top-down RGBA rows, the simplified API's input.
std::vector<uint8_t> RgbaRows()
{
    const TImageData d = Pattern(320, 240, true);
    std::vector<uint8_t> rgba(320 * 240 * 4);
    for (int32_t y = 0; y < 240; ++y)
        for (int32_t x = 0; x < 320; ++x)
        {
            const TRgbQuad c = d.GetColor(x, 239 - y);
            uint8_t* p = &rgba[(static_cast<size_t>(y) * 320 + x) * 4];
            p[0] = c.red;
            p[1] = c.green;
            p[2] = c.blue;
            p[3] = d.alpha[static_cast<size_t>(239 - y) * 320 + x];
        }
    return rgba;
}

void BM_PngDecode_CImageBuffer(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = EncodedRgba();
    for (auto _ : state)
    {
        CImageBuffer image;
        if (!image.Decode(bytes.data(), bytes.size(), kFormatPng))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.Data().bits.data());
    }
}
BENCHMARK(BM_PngDecode_CImageBuffer)->Unit(benchmark::kMicrosecond);

void BM_PngDecode_LibpngSimplified(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = EncodedRgba();
    std::vector<uint8_t> out(320 * 240 * 4);
    for (auto _ : state)
    {
        png_image image;
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
            state.SkipWithError("begin failed");
        image.format = PNG_FORMAT_RGBA;
        if (!png_image_finish_read(&image, nullptr, out.data(), 0, nullptr))
            state.SkipWithError("finish failed");
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_PngDecode_LibpngSimplified)->Unit(benchmark::kMicrosecond);

void BM_PngEncode_CImageBuffer(benchmark::State& state)
{
    CImageBuffer image;
    image.Data() = Pattern(320, 240, true);
    for (auto _ : state)
    {
        uint8_t* block = nullptr;
        int32_t size = 0;
        if (!image.Encode(&block, &size, kFormatPng))
            state.SkipWithError("encode failed");
        benchmark::DoNotOptimize(block);
        std::free(block);
    }
}
BENCHMARK(BM_PngEncode_CImageBuffer)->Unit(benchmark::kMicrosecond);

void BM_PngEncode_LibpngSimplified(benchmark::State& state)
{
    const std::vector<uint8_t> rgba = RgbaRows();
    std::vector<uint8_t> out(1 << 20);
    for (auto _ : state)
    {
        png_image image;
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
        image.width = 320;
        image.height = 240;
        image.format = PNG_FORMAT_RGBA;
        png_alloc_size_t size = out.size();
        if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr))
            state.SkipWithError("write failed");
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_PngEncode_LibpngSimplified)->Unit(benchmark::kMicrosecond);

void BM_Resample640x480To320x240(benchmark::State& state)
{
    CImageBuffer source;
    source.Data() = Pattern(640, 480, state.range(0) != 0);
    for (auto _ : state)
    {
        CImageBuffer half;
        source.Resample(320, 240, 2, &half);
        benchmark::DoNotOptimize(half.Data().bits.data());
    }
}
BENCHMARK(BM_Resample640x480To320x240)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Draw320x240WithAlpha(benchmark::State& state)
{
    CImageBuffer image;
    image.Data() = Pattern(320, 240, true);
    CRaster raster(320, 240);
    raster.FillRect(TRect{0, 0, 320, 240}, Rgb(255, 255, 255));
    for (auto _ : state)
    {
        image.Draw(&raster, 0, 0);
        benchmark::DoNotOptimize(raster.Pixels());
    }
}
BENCHMARK(BM_Draw320x240WithAlpha)->Unit(benchmark::kMicrosecond);

void BM_Draw320x240Opaque(benchmark::State& state)
{
    CImageBuffer image;
    image.Data() = Pattern(320, 240, false);
    CRaster raster(320, 240);
    for (auto _ : state)
    {
        image.Draw(&raster, 0, 0);
        benchmark::DoNotOptimize(raster.Pixels());
    }
}
BENCHMARK(BM_Draw320x240Opaque)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
