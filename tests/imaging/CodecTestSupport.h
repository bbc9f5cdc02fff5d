#pragma once

// Small pictures made with each format's own encoder, and helpers to decode
// them, for the codec tests.

#include "ByteStream.h"
#include "ImageCodec.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include <gif_lib.h>
#include <jpeglib.h>
#include <openjpeg.h>
#include <tiffio.h>
#include <webp/encode.h>

namespace codectest
{

using TBytes = std::vector<uint8_t>;

struct TRgba
{
    uint8_t r = 0, g = 0, b = 0, a = 255;
};
using TPixelFn = std::function<TRgba(int x, int y)>;

// Every pixel distinct, alpha varying along x; y counts from the top.
inline TRgba Pattern(int x, int y)
{
    return TRgba{static_cast<uint8_t>(10 + x * 40), static_cast<uint8_t>(20 + y * 50),
                 static_cast<uint8_t>(200 - x * 20 - y * 10), static_cast<uint8_t>(255 - x * 30)};
}

inline bool Decode(int32_t format, const TBytes& bytes, TImageData& out, std::string& error)
{
    std::unique_ptr<CImageCodec> codec = MakeImageCodec(format);
    if (!codec)
    {
        error = "no codec";
        return false;
    }
    CMemoryStream stream(bytes.data(), bytes.size());
    return codec->Decode(stream, out, error);
}

// Colour of a pixel with y counted from the top of the picture.
inline TRgbQuad At(const TImageData& image, int x, int y)
{
    return image.GetColor(x, image.height - 1 - y);
}

inline uint8_t AlphaAt(const TImageData& image, int x, int y)
{
    return image.alpha[static_cast<size_t>(image.height - 1 - y) * image.width + x];
}

inline TBytes EncodeJpeg(int width, int height, bool grey, const TPixelFn& pixel, int quality = 98)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.density_unit = 1;
    cinfo.X_density = 150;
    cinfo.Y_density = 150;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const TRgba p = pixel(x, y);
            if (grey)
                row[x] = p.g;
            else
            {
                row[x * 3] = p.r;
                row[x * 3 + 1] = p.g;
                row[x * 3 + 2] = p.b;
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    TBytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// A GIF with palette entry i = (i * 30, 255 - i * 30, i * 10) and pixel index
// (x + y) % 8 in a frame placed on a possibly larger screen.
struct TGifSpec
{
    int screenWidth = 5;
    int screenHeight = 3;
    int left = 0;
    int top = 0;
    int width = 5;
    int height = 3;
    bool interlace = false;
    int transparent = -1;
    int background = 0;
};

inline TRgbQuad GifPaletteEntry(int i)
{
    return TRgbQuad{static_cast<uint8_t>(i * 10), static_cast<uint8_t>(255 - i * 30), static_cast<uint8_t>(i * 30), 0};
}

inline TBytes EncodeGif(const TGifSpec& spec)
{
    TBytes bytes;
    auto write = [](GifFileType* gif, const GifByteType* data, int size) {
        auto* out = static_cast<TBytes*>(gif->UserData);
        out->insert(out->end(), data, data + size);
        return size;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, write, &error);
    GifColorType colours[8];
    for (int i = 0; i < 8; ++i)
    {
        const TRgbQuad c = GifPaletteEntry(i);
        colours[i] = GifColorType{c.red, c.green, c.blue};
    }
    ColorMapObject* map = GifMakeMapObject(8, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, spec.screenWidth, spec.screenHeight, 8, spec.background, map);
    if (spec.transparent >= 0)
    {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = spec.transparent;
        GifByteType extension[4];
        const size_t size = EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(size), extension);
    }
    EGifPutImageDesc(gif, spec.left, spec.top, spec.width, spec.height, spec.interlace, nullptr);
    std::vector<int> order;
    if (spec.interlace)
    {
        const int offsets[] = {0, 4, 2, 1};
        const int steps[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = offsets[pass]; y < spec.height; y += steps[pass])
                order.push_back(y);
    }
    else
    {
        for (int y = 0; y < spec.height; ++y)
            order.push_back(y);
    }
    std::vector<GifPixelType> line(static_cast<size_t>(spec.width));
    for (int y : order)
    {
        for (int x = 0; x < spec.width; ++x)
            line[x] = static_cast<GifPixelType>((x + y) % 8);
        EGifPutLine(gif, line.data(), spec.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

inline TBytes ReadFile(const std::filesystem::path& path)
{
    TBytes bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb"))
    {
        uint8_t chunk[4096];
        size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
        std::fclose(file);
    }
    return bytes;
}

// 8-bit TIFF with 1 (grey), 2 (grey and alpha), 3 (RGB) or 4 (RGBA) samples.
inline TBytes EncodeTiff(int width, int height, int samples, uint16_t compression, const TPixelFn& pixel)
{
    static int serial = 0;
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("qel-codec-test-" + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 2);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 300.0f);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 300.0f);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    if (samples == 2 || samples == 4)
    {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    std::vector<uint8_t> row(static_cast<size_t>(width) * samples);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const TRgba p = pixel(x, y);
            uint8_t* s = row.data() + static_cast<size_t>(x) * samples;
            if (samples >= 3)
            {
                s[0] = p.r;
                s[1] = p.g;
                s[2] = p.b;
            }
            else
                s[0] = p.g;
            if (samples == 2 || samples == 4)
                s[samples - 1] = p.a;
        }
        TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0);
    }
    TIFFClose(tif);
    TBytes bytes = ReadFile(path);
    std::filesystem::remove(path);
    return bytes;
}

struct TOutBuffer
{
    TBytes bytes;
    size_t position = 0;
};

// Lossless JPEG 2000 with 1 (grey), 3 (RGB) or 4 (RGBA) components, as a
// raw J2K codestream or a JP2 file.
inline TBytes EncodeJpeg2000(int width, int height, int components, bool jp2, const TPixelFn& pixel)
{
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0;
    parameters.cp_disto_alloc = 1;
    parameters.numresolution = 2;
    parameters.tcp_mct = components >= 3 ? 1 : 0;

    opj_image_cmptparm_t componentParameters[4];
    std::memset(componentParameters, 0, sizeof componentParameters);
    for (int c = 0; c < components; ++c)
    {
        componentParameters[c].dx = 1;
        componentParameters[c].dy = 1;
        componentParameters[c].w = static_cast<OPJ_UINT32>(width);
        componentParameters[c].h = static_cast<OPJ_UINT32>(height);
        componentParameters[c].prec = 8;
        componentParameters[c].sgnd = 0;
    }
    opj_image_t* image = opj_image_create(static_cast<OPJ_UINT32>(components), componentParameters,
                                          components >= 3 ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY);
    image->x0 = 0;
    image->y0 = 0;
    image->x1 = static_cast<OPJ_UINT32>(width);
    image->y1 = static_cast<OPJ_UINT32>(height);
    if (components == 4)
        image->comps[3].alpha = 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const TRgba p = pixel(x, y);
            const uint8_t values[] = {components >= 3 ? p.r : p.g, p.g, p.b, p.a};
            for (int c = 0; c < components; ++c)
                image->comps[c].data[y * width + x] = values[c];
        }

    opj_codec_t* codec = opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    opj_setup_encoder(codec, &parameters, image);
    TOutBuffer out;
    opj_stream_t* stream = opj_stream_create(64 * 1024, OPJ_FALSE);
    opj_stream_set_user_data(stream, &out, nullptr);
    opj_stream_set_write_function(stream, [](void* data, OPJ_SIZE_T size, void* user) -> OPJ_SIZE_T {
        auto* o = static_cast<TOutBuffer*>(user);
        if (o->bytes.size() < o->position + size)
            o->bytes.resize(o->position + size);
        std::memcpy(o->bytes.data() + o->position, data, size);
        o->position += size;
        return size;
    });
    opj_stream_set_skip_function(stream, [](OPJ_OFF_T count, void* user) -> OPJ_OFF_T {
        auto* o = static_cast<TOutBuffer*>(user);
        o->position += static_cast<size_t>(count);
        if (o->bytes.size() < o->position)
            o->bytes.resize(o->position);
        return count;
    });
    opj_stream_set_seek_function(stream, [](OPJ_OFF_T target, void* user) -> OPJ_BOOL {
        auto* o = static_cast<TOutBuffer*>(user);
        o->position = static_cast<size_t>(target);
        if (o->bytes.size() < o->position)
            o->bytes.resize(o->position);
        return OPJ_TRUE;
    });
    const bool ok = opj_start_compress(codec, image, stream) && opj_encode(codec, stream) &&
                    opj_end_compress(codec, stream);
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    opj_image_destroy(image);
    return ok ? out.bytes : TBytes{};
}

inline TBytes EncodeWebpLossless(int width, int height, const TPixelFn& pixel)
{
    std::vector<uint8_t> bgra(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const TRgba p = pixel(x, y);
            uint8_t* q = bgra.data() + (static_cast<size_t>(y) * width + x) * 4;
            q[0] = p.b;
            q[1] = p.g;
            q[2] = p.r;
            q[3] = p.a;
        }
    uint8_t* output = nullptr;
    const size_t size = WebPEncodeLosslessBGRA(bgra.data(), width, height, width * 4, &output);
    TBytes bytes(output, output + size);
    WebPFree(output);
    return bytes;
}

}  // namespace codectest
