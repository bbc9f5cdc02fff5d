#pragma once

#include "ByteStream.h"
#include "ImageData.h"

#include <memory>
#include <string>

// One picture format. Decode fills a fresh TImageData from the stream and
// returns false, with a reason in error, on anything it cannot read; it never
// reads outside the stream and never allocates for a picture beyond the
// size limits. Encode is offered by the formats the program writes.
class CImageCodec
{
public:
    virtual ~CImageCodec() = default;
    virtual bool Decode(CByteStream& in, TImageData& out, std::string& error) = 0;
    virtual bool Encode(TImageData& image, CByteStream& out, std::string& error)
    {
        (void)image;
        (void)out;
        error = "Encode: format not supported";
        return false;
    }
    // After a Decode of these bytes into image that succeeded: whether the
    // bytes are exactly what Encode writes for image, so that they may stand
    // for encoding it again.
    virtual bool DecodedAsEncoded(const uint8_t* data, size_t size, const TImageData& image)
    {
        (void)data;
        (void)size;
        (void)image;
        return false;
    }
};

// The codec for a format code, or null for a format we do not read.
std::unique_ptr<CImageCodec> MakeImageCodec(int32_t format);

// Format codes tried, in order, when a picture is recognised by content.
const int32_t* ContentProbeOrder(int* count);
