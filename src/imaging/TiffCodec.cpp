#include "Codecs.h"
#include "CodecSupport.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include <tiffio.h>

namespace
{

// No single buffer libtiff makes for us may be larger than this.
constexpr tmsize_t kMaxSingleAllocation = 320LL * 1024 * 1024;

struct TTiffSource
{
    CByteStream* stream = nullptr;
    int64_t start = 0;
    std::string error;
};

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size)
{
    auto* source = static_cast<TTiffSource*>(handle);
    if (size <= 0)
        return 0;
    return static_cast<tmsize_t>(source->stream->Read(buffer, static_cast<size_t>(size)));
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence)
{
    auto* source = static_cast<TTiffSource*>(handle);
    CByteStream& stream = *source->stream;
    int64_t base = 0;
    if (whence == SEEK_CUR)
        base = stream.Tell();
    else if (whence == SEEK_END)
    {
        if (stream.Size() < 0)
            return static_cast<toff_t>(-1);
        base = stream.Size();
    }
    else
        base = source->start;
    // Offsets far beyond any stream are refused before they can overflow.
    if (offset > static_cast<toff_t>(INT64_MAX / 2))
        return static_cast<toff_t>(-1);
    const int64_t target = base + static_cast<int64_t>(offset);
    if (!stream.Seek(target))
        return static_cast<toff_t>(-1);
    return static_cast<toff_t>(target - source->start);
}

int CloseProc(thandle_t)
{
    return 0;
}

toff_t SizeProc(thandle_t handle)
{
    auto* source = static_cast<TTiffSource*>(handle);
    const int64_t size = source->stream->Size();
    return size < source->start ? 0 : static_cast<toff_t>(size - source->start);
}

int MapProc(thandle_t, void**, toff_t*)
{
    return 0;
}

void UnmapProc(thandle_t, void*, toff_t)
{
}

// Errors are kept for the caller (the first one says most); warnings are dropped.
int OnError(TIFF*, void* user, const char*, const char* format, va_list arguments)
{
    auto* source = static_cast<TTiffSource*>(user);
    if (source->error.empty())
    {
        char text[256];
        std::vsnprintf(text, sizeof text, format, arguments);
        source->error = text;
    }
    return 1;
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

struct TTiffCloser
{
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

struct TOptionsFree
{
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

class CTiffCodec : public CImageCodec
{
public:
    bool Decode(CByteStream& in, TImageData& out, std::string& error) override
    {
        // A few messages are raised before the per-file handlers are in place;
        // the process-wide ones must not print either.
        static std::once_flag silenced;
        std::call_once(silenced, [] {
            TIFFSetErrorHandler(nullptr);
            TIFFSetWarningHandler(nullptr);
        });

        TTiffSource source;
        source.stream = &in;
        source.start = in.Tell();
        uint8_t signature[4];
        if (in.Read(signature, 4) != 4 ||
            !((signature[0] == 'I' && signature[1] == 'I' && (signature[2] == 42 || signature[2] == 43) && signature[3] == 0) ||
              (signature[0] == 'M' && signature[1] == 'M' && signature[2] == 0 && (signature[3] == 42 || signature[3] == 43))) ||
            !in.Seek(source.start))
        {
            error = "TIFF: not a TIFF file";
            return false;
        }

        std::unique_ptr<TIFFOpenOptions, TOptionsFree> options(TIFFOpenOptionsAlloc());
        if (!options)
        {
            error = "TIFF: out of memory";
            return false;
        }
        TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxSingleAllocation);
        TIFFOpenOptionsSetErrorHandlerExtR(options.get(), OnError, &source);
        TIFFOpenOptionsSetWarningHandlerExtR(options.get(), OnWarning, &source);
        std::unique_ptr<TIFF, TTiffCloser> tif(TIFFClientOpenExt("picture", "rm", &source, ReadProc, WriteProc, SeekProc,
                                                                 CloseProc, SizeProc, MapProc, UnmapProc, options.get()));
        if (!tif)
        {
            error = "TIFF: " + (source.error.empty() ? std::string("unreadable file") : source.error);
            return false;
        }

        uint32_t width = 0;
        uint32_t height = 0;
        TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
        char reason[1024] = {};
        if (!TIFFRGBAImageOK(tif.get(), reason))
        {
            error = std::string("TIFF: ") + reason;
            return false;
        }
        TImageData image;
        if (!codec::CreateImage(image, width, height, 24, "TIFF", error))
            return false;

        uint16_t extraCount = 0;
        uint16_t* extraKinds = nullptr;
        uint16_t alphaKind = EXTRASAMPLE_UNSPECIFIED;
        if (TIFFGetField(tif.get(), TIFFTAG_EXTRASAMPLES, &extraCount, &extraKinds) && extraKinds != nullptr)
        {
            for (uint16_t i = 0; i < extraCount && alphaKind == EXTRASAMPLE_UNSPECIFIED; ++i)
                if (extraKinds[i] == EXTRASAMPLE_ASSOCALPHA || extraKinds[i] == EXTRASAMPLE_UNASSALPHA)
                    alphaKind = extraKinds[i];
        }
        const bool hasAlpha = alphaKind != EXTRASAMPLE_UNSPECIFIED;
        // libtiff premultiplies straight colour pictures as it reads them but
        // passes grey ones through as stored.
        uint16_t photometric = PHOTOMETRIC_RGB;
        TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
        const bool grey = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
        const bool premultiplied = hasAlpha && (alphaKind == EXTRASAMPLE_ASSOCALPHA || !grey);

        const size_t pixels = static_cast<size_t>(width) * height;
        std::vector<uint32_t> raster(pixels);
        // The raster comes bottom row first, which is how rows are stored.
        if (!TIFFReadRGBAImageOriented(tif.get(), width, height, raster.data(), ORIENTATION_BOTLEFT, 1))
        {
            error = "TIFF: " + (source.error.empty() ? std::string("the picture data is damaged") : source.error);
            return false;
        }
        if (hasAlpha)
            image.alpha.resize(pixels);
        for (uint32_t y = 0; y < height; ++y)
        {
            uint8_t* target = image.Row(static_cast<int32_t>(y));
            const uint32_t* source_row = raster.data() + static_cast<size_t>(y) * width;
            for (uint32_t x = 0; x < width; ++x)
            {
                const uint32_t p = source_row[x];
                uint32_t r = TIFFGetR(p);
                uint32_t g = TIFFGetG(p);
                uint32_t b = TIFFGetB(p);
                if (hasAlpha)
                {
                    // The alpha plane goes with straight colour.
                    const uint32_t a = TIFFGetA(p);
                    if (premultiplied && a != 0 && a != 255)
                    {
                        r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
                        g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
                        b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
                    }
                    image.alpha[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(a);
                }
                target[x * 3] = static_cast<uint8_t>(b);
                target[x * 3 + 1] = static_cast<uint8_t>(g);
                target[x * 3 + 2] = static_cast<uint8_t>(r);
            }
        }

        float xResolution = 0;
        float yResolution = 0;
        uint16_t unit = RESUNIT_INCH;
        if (TIFFGetField(tif.get(), TIFFTAG_XRESOLUTION, &xResolution) &&
            TIFFGetField(tif.get(), TIFFTAG_YRESOLUTION, &yResolution))
        {
            TIFFGetFieldDefaulted(tif.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
            if (unit == RESUNIT_INCH)
                codec::SetResolutionDpi(image, xResolution, yResolution);
            else if (unit == RESUNIT_CENTIMETER)
                codec::SetResolutionDpi(image, xResolution * 2.54, yResolution * 2.54);
        }
        image.format = kFormatTiff;
        out = std::move(image);
        return true;
    }
};

}  // namespace

std::unique_ptr<CImageCodec> MakeTiffCodec()
{
    return std::make_unique<CTiffCodec>();
}
