#include "Codecs.h"
#include "CodecSupport.h"

#include <algorithm>
#include <cstring>

#include <openjpeg.h>

namespace
{

const uint8_t kJp2Signature[] = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
const uint8_t kJ2kSignature[] = {0xFF, 0x4F, 0xFF, 0x51};

struct TMemorySource
{
    const std::vector<uint8_t>* data = nullptr;
    size_t position = 0;
};

OPJ_SIZE_T ReadProc(void* buffer, OPJ_SIZE_T size, void* user)
{
    auto* source = static_cast<TMemorySource*>(user);
    const size_t left = source->data->size() - source->position;
    if (left == 0)
        return static_cast<OPJ_SIZE_T>(-1);
    const size_t count = std::min<size_t>(left, size);
    std::memcpy(buffer, source->data->data() + source->position, count);
    source->position += count;
    return count;
}

OPJ_OFF_T SkipProc(OPJ_OFF_T count, void* user)
{
    auto* source = static_cast<TMemorySource*>(user);
    const auto size = static_cast<OPJ_OFF_T>(source->data->size());
    const auto position = static_cast<OPJ_OFF_T>(source->position);
    if (count < 0 || count > size - position)
        return -1;
    source->position += static_cast<size_t>(count);
    return count;
}

OPJ_BOOL SeekProc(OPJ_OFF_T target, void* user)
{
    auto* source = static_cast<TMemorySource*>(user);
    if (target < 0 || target > static_cast<OPJ_OFF_T>(source->data->size()))
        return OPJ_FALSE;
    source->position = static_cast<size_t>(target);
    return OPJ_TRUE;
}

void KeepFirstError(const char* message, void* user)
{
    auto* error = static_cast<std::string*>(user);
    if (error->empty() && message != nullptr)
    {
        *error = message;
        while (!error->empty() && (error->back() == '\n' || error->back() == '\r'))
            error->pop_back();
    }
}

void Ignore(const char*, void*)
{
}

struct TCodecFree
{
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct TStreamFree
{
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct TImageFree
{
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};

// One sample of a component, at the picture's pixel (x, y) from the top,
// brought to 8 bits.
uint8_t Sample(const opj_image_comp_t& comp, uint32_t width, uint32_t height, uint32_t x, uint32_t y)
{
    const uint32_t cx = static_cast<uint32_t>(static_cast<uint64_t>(x) * comp.w / width);
    const uint32_t cy = static_cast<uint32_t>(static_cast<uint64_t>(y) * comp.h / height);
    int64_t value = comp.data[static_cast<size_t>(cy) * comp.w + cx];
    if (comp.sgnd)
        value += int64_t{1} << (comp.prec - 1);
    const int64_t maximum = (int64_t{1} << comp.prec) - 1;
    value = std::clamp<int64_t>(value, 0, maximum);
    if (comp.prec >= 8)
        return static_cast<uint8_t>(value >> (comp.prec - 8));
    return static_cast<uint8_t>(value * 255 / maximum);
}

uint32_t BigEndian32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// Where the codestream starts: at once for J2K, inside the jp2c box for JP2.
// Returns data.size() when it cannot be found.
size_t CodestreamStart(const std::vector<uint8_t>& data, bool jp2)
{
    if (!jp2)
        return 0;
    size_t at = 0;
    while (data.size() - at >= 8)
    {
        uint64_t length = BigEndian32(data.data() + at);
        size_t header = 8;
        if (length == 1)
        {
            if (data.size() - at < 16)
                break;
            length = uint64_t{BigEndian32(data.data() + at + 8)} << 32 | BigEndian32(data.data() + at + 12);
            header = 16;
        }
        if (std::memcmp(data.data() + at + 4, "jp2c", 4) == 0)
            return at + header;
        if (length == 0 || length < header || length > data.size() - at)
            break;
        at += static_cast<size_t>(length);
    }
    return data.size();
}

// The size announced in the codestream's SIZ marker, read before the decoder
// sees it so that an oversized header is refused before anything is allocated.
bool AnnouncedSize(const std::vector<uint8_t>& data, size_t start, int64_t& width, int64_t& height)
{
    if (start > data.size() || data.size() - start < 4 + 2 + 2 + 16)
        return false;
    const uint8_t* p = data.data() + start;
    if (std::memcmp(p, kJ2kSignature, sizeof kJ2kSignature) != 0)
        return false;
    width = int64_t{BigEndian32(p + 8)} - BigEndian32(p + 16);
    height = int64_t{BigEndian32(p + 12)} - BigEndian32(p + 20);
    return true;
}

uint8_t Clamp8(double v)
{
    return static_cast<uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
}

class CJpeg2000Codec : public CImageCodec
{
public:
    bool Decode(CByteStream& in, TImageData& out, std::string& error) override
    {
        std::vector<uint8_t> data;
        if (!codec::ReadRest(in, data, "JPEG 2000", error))
            return false;
        auto startsWith = [&](const uint8_t* signature, size_t size) {
            return data.size() >= size && std::memcmp(data.data(), signature, size) == 0;
        };
        OPJ_CODEC_FORMAT kind = OPJ_CODEC_UNKNOWN;
        int32_t format = kFormatUnknown;
        if (startsWith(kJp2Signature, sizeof kJp2Signature))
        {
            kind = OPJ_CODEC_JP2;
            format = kFormatJp2;
        }
        else if (startsWith(kJ2kSignature, sizeof kJ2kSignature))
        {
            kind = OPJ_CODEC_J2K;
            format = kFormatJ2k;
        }
        else
        {
            error = "JPEG 2000: not a JP2 file or J2K codestream";
            return false;
        }

        int64_t announcedWidth = 0;
        int64_t announcedHeight = 0;
        if (AnnouncedSize(data, CodestreamStart(data, kind == OPJ_CODEC_JP2), announcedWidth, announcedHeight))
        {
            std::string sizeError;
            if (!ImageSizeAllowed(announcedWidth, announcedHeight, sizeError))
            {
                error = "JPEG 2000: " + sizeError;
                return false;
            }
        }

        std::string reason;
        std::unique_ptr<opj_codec_t, TCodecFree> decoder(opj_create_decompress(kind));
        if (!decoder)
        {
            error = "JPEG 2000: cannot create the decoder";
            return false;
        }
        opj_set_info_handler(decoder.get(), Ignore, nullptr);
        opj_set_warning_handler(decoder.get(), Ignore, nullptr);
        opj_set_error_handler(decoder.get(), KeepFirstError, &reason);
        opj_dparameters_t parameters;
        opj_set_default_decoder_parameters(&parameters);
        auto failed = [&](const char* what) {
            error = std::string("JPEG 2000: ") + (reason.empty() ? what : reason.c_str());
            return false;
        };
        if (!opj_setup_decoder(decoder.get(), &parameters))
            return failed("cannot set up the decoder");
        // A codestream cut short is an error rather than a partly grey picture.
        opj_decoder_set_strict_mode(decoder.get(), OPJ_TRUE);

        TMemorySource source{&data, 0};
        std::unique_ptr<opj_stream_t, TStreamFree> stream(opj_stream_create(64 * 1024, OPJ_TRUE));
        if (!stream)
            return failed("cannot create the stream");
        opj_stream_set_user_data(stream.get(), &source, nullptr);
        opj_stream_set_user_data_length(stream.get(), data.size());
        opj_stream_set_read_function(stream.get(), ReadProc);
        opj_stream_set_skip_function(stream.get(), SkipProc);
        opj_stream_set_seek_function(stream.get(), SeekProc);

        opj_image_t* rawImage = nullptr;
        const bool headerRead = opj_read_header(stream.get(), decoder.get(), &rawImage);
        std::unique_ptr<opj_image_t, TImageFree> picture(rawImage);
        if (!headerRead || !picture)
            return failed("damaged header");
        if (picture->numcomps == 0 || picture->comps == nullptr)
            return failed("no components");
        const int64_t fullWidth = int64_t{picture->x1} - picture->x0;
        const int64_t fullHeight = int64_t{picture->y1} - picture->y0;
        // Checked before decoding: the decoder allocates for the announced size.
        if (fullWidth <= 0 || fullHeight <= 0)
            return failed("the picture has no pixels");
        std::string sizeError;
        if (!ImageSizeAllowed(fullWidth, fullHeight, sizeError))
        {
            error = "JPEG 2000: " + sizeError;
            return false;
        }
        if (!opj_decode(decoder.get(), stream.get(), picture.get()) || !opj_end_decompress(decoder.get(), stream.get()))
            return failed("damaged picture data");

        const uint32_t channels = std::min<uint32_t>(picture->numcomps, 4);
        const opj_image_comp_t& first = picture->comps[0];
        for (uint32_t c = 0; c < channels; ++c)
        {
            const opj_image_comp_t& comp = picture->comps[c];
            if (comp.data == nullptr || comp.w == 0 || comp.h == 0 || comp.prec < 1 || comp.prec > 31)
                return failed("unsupported component");
        }
        const uint32_t width = first.w;
        const uint32_t height = first.h;
        const bool colour = channels >= 3;
        TImageData image;
        if (!codec::CreateImage(image, width, height, colour ? 24 : 8, "JPEG 2000", error))
            return false;
        const bool withAlpha = channels == 2 || channels == 4;
        if (withAlpha)
            image.alpha.resize(static_cast<size_t>(width) * height);
        if (!colour)
            codec::SetGreyPalette(image);
        const bool ycc = picture->color_space == OPJ_CLRSPC_SYCC;

        for (uint32_t y = 0; y < height; ++y)
        {
            const int32_t stored = static_cast<int32_t>(height - 1 - y);
            uint8_t* target = image.Row(stored);
            for (uint32_t x = 0; x < width; ++x)
            {
                if (colour)
                {
                    uint8_t r = Sample(picture->comps[0], width, height, x, y);
                    uint8_t g = Sample(picture->comps[1], width, height, x, y);
                    uint8_t b = Sample(picture->comps[2], width, height, x, y);
                    if (ycc)
                    {
                        const double luma = r;
                        const double cb = g - 128.0;
                        const double cr = b - 128.0;
                        r = Clamp8(luma + 1.402 * cr);
                        g = Clamp8(luma - 0.344136 * cb - 0.714136 * cr);
                        b = Clamp8(luma + 1.772 * cb);
                    }
                    target[x * 3] = b;
                    target[x * 3 + 1] = g;
                    target[x * 3 + 2] = r;
                }
                else
                {
                    target[x] = Sample(picture->comps[0], width, height, x, y);
                }
                if (withAlpha)
                    image.alpha[static_cast<size_t>(stored) * width + x] =
                        Sample(picture->comps[channels - 1], width, height, x, y);
            }
        }
        image.format = format;
        out = std::move(image);
        return true;
    }
};

}  // namespace

std::unique_ptr<CImageCodec> MakeJpeg2000Codec()
{
    return std::make_unique<CJpeg2000Codec>();
}
