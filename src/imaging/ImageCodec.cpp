#include "ImageCodec.h"

#include "Codecs.h"

std::unique_ptr<CImageCodec> MakeImageCodec(int32_t format)
{
    switch (format)
    {
    case kFormatBmp:
        return MakeBmpCodec();
    case kFormatGif:
        return MakeGifCodec();
    case kFormatJpeg:
        return MakeJpegCodec();
    case kFormatPng:
        return MakePngCodec();
    case kFormatTiff:
        return MakeTiffCodec();
    case kFormatJp2:
    case kFormatJ2k:
    case kFormatJpc:
    case kFormatPgx:
    case kFormatRaw:
        return MakeJpeg2000Codec();
    case kFormatWebp:
        return MakeWebpCodec();
    default:
        return nullptr;
    }
}

const int32_t* ContentProbeOrder(int* count)
{
    // ICO, TGA, PCX, WBMP and WMF have no decoder and are left out; the JPEG
    // 2000 family is tried once, its codec tells JP2 and J2K apart itself.
    static const int32_t order[] = {kFormatBmp, kFormatJpeg, kFormatGif, kFormatPng,
                                    kFormatTiff, kFormatJp2, kFormatWebp};
    if (count != nullptr)
        *count = static_cast<int>(sizeof order / sizeof order[0]);
    return order;
}
