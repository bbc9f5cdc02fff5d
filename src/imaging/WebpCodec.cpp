#include "Codecs.h"
#include "CodecSupport.h"

#include <cstring>

#include <webp/decode.h>

namespace
{

class CWebpCodec : public CImageCodec
{
public:
    bool Decode(CByteStream& in, TImageData& out, std::string& error) override
    {
        std::vector<uint8_t> data;
        if (!codec::ReadRest(in, data, "WebP", error))
            return false;
        if (data.size() < 12 || std::memcmp(data.data(), "RIFF", 4) != 0 || std::memcmp(data.data() + 8, "WEBP", 4) != 0)
        {
            error = "WebP: not a WebP file";
            return false;
        }
        WebPBitstreamFeatures features;
        if (WebPGetFeatures(data.data(), data.size(), &features) != VP8_STATUS_OK)
        {
            error = "WebP: damaged header";
            return false;
        }
        if (features.has_animation)
        {
            error = "WebP: animated pictures are not supported";
            return false;
        }
        TImageData image;
        if (!codec::CreateImage(image, features.width, features.height, 24, "WebP", error))
            return false;

        const size_t width = static_cast<size_t>(image.width);
        const size_t height = static_cast<size_t>(image.height);
        std::vector<uint8_t> pixels(width * height * 4);
        if (WebPDecodeBGRAInto(data.data(), data.size(), pixels.data(), pixels.size(), static_cast<int>(width * 4)) ==
            nullptr)
        {
            error = "WebP: damaged picture data";
            return false;
        }
        if (features.has_alpha)
            image.alpha.resize(width * height);
        for (size_t y = 0; y < height; ++y)
        {
            const size_t stored = height - 1 - y;
            const uint8_t* source = pixels.data() + y * width * 4;
            uint8_t* target = image.Row(static_cast<int32_t>(stored));
            for (size_t x = 0; x < width; ++x)
            {
                target[x * 3] = source[x * 4];
                target[x * 3 + 1] = source[x * 4 + 1];
                target[x * 3 + 2] = source[x * 4 + 2];
                if (features.has_alpha)
                    image.alpha[stored * width + x] = source[x * 4 + 3];
            }
        }
        image.format = kFormatWebp;
        out = std::move(image);
        return true;
    }
};

}  // namespace

std::unique_ptr<CImageCodec> MakeWebpCodec()
{
    return std::make_unique<CWebpCodec>();
}
