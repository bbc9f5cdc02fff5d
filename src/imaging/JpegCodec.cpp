#include "Codecs.h"
#include "CodecSupport.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace
{

// A progressive file may carry any number of scans, each a pass over the
// whole picture; real encoders stay far below this.
constexpr int kMaxScans = 1000;
constexpr long kMaxWarnings = 100;

struct TJpegErrors
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr cinfo, const char* message)
{
    auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
    std::snprintf(errors->message, sizeof errors->message, "%s", message);
    std::longjmp(errors->jump, 1);
}

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings are not printed. A file that ends early would otherwise decode
// with a grey bottom, so that one is an error; a flood of corrupt-data
// warnings ends the decode too.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    if (cinfo->err->msg_code == JWRN_JPEG_EOF)
        Fail(cinfo, "the file is truncated");
    if (++cinfo->err->num_warnings > kMaxWarnings)
        Fail(cinfo, "too much corrupt data");
}

void OnProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        Fail(cinfo, "too many progressive scans");
}

// Everything the decode touches across the jump lives here, reached through
// a reference that is never reassigned, so nothing in the jumping frame has
// an indeterminate value or a skipped destructor.
struct TJpegState
{
    jpeg_decompress_struct cinfo;
    TJpegErrors errors;
    jpeg_progress_mgr progress;
    const std::vector<uint8_t>* data = nullptr;
    TImageData image;
    std::string error;
};

bool Run(TJpegState& s)
{
    std::memset(&s.cinfo, 0, sizeof s.cinfo);
    s.cinfo.err = jpeg_std_error(&s.errors.base);
    s.errors.base.error_exit = OnError;
    s.errors.base.emit_message = OnMessage;
    s.errors.message[0] = '\0';
    if (setjmp(s.errors.jump) != 0)
    {
        s.error = std::string("JPEG: ") + s.errors.message;
        jpeg_destroy_decompress(&s.cinfo);
        return false;
    }
    jpeg_create_decompress(&s.cinfo);
    s.progress.progress_monitor = OnProgress;
    s.cinfo.progress = &s.progress;
    jpeg_mem_src(&s.cinfo, s.data->data(), static_cast<unsigned long>(s.data->size()));
    jpeg_read_header(&s.cinfo, TRUE);

    if (!codec::CreateImage(s.image, s.cinfo.image_width, s.cinfo.image_height,
                            s.cinfo.jpeg_color_space == JCS_GRAYSCALE ? 8 : 24, "JPEG", s.error))
    {
        jpeg_destroy_decompress(&s.cinfo);
        return false;
    }
    const bool grey = s.cinfo.jpeg_color_space == JCS_GRAYSCALE;
    const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
    s.cinfo.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&s.cinfo);
    if (s.cinfo.output_width != static_cast<JDIMENSION>(s.image.width) ||
        s.cinfo.output_height != static_cast<JDIMENSION>(s.image.height))
        Fail(reinterpret_cast<j_common_ptr>(&s.cinfo), "unexpected output size");
    if (grey)
        codec::SetGreyPalette(s.image);

    const JDIMENSION rowSize = s.cinfo.output_width * static_cast<JDIMENSION>(s.cinfo.output_components);
    JSAMPARRAY buffer =
        (*s.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.cinfo), JPOOL_IMAGE, rowSize, 1);
    // Adobe writes CMYK inverted, which is what nearly every CMYK file is.
    const bool inverted = s.cinfo.saw_Adobe_marker;
    while (s.cinfo.output_scanline < s.cinfo.output_height)
    {
        const int32_t y = s.image.height - 1 - static_cast<int32_t>(s.cinfo.output_scanline);
        if (jpeg_read_scanlines(&s.cinfo, buffer, 1) != 1)
            Fail(reinterpret_cast<j_common_ptr>(&s.cinfo), "the file is truncated");
        uint8_t* target = s.image.Row(y);
        const uint8_t* source = buffer[0];
        if (!cmyk)
        {
            std::memcpy(target, source, rowSize);
            continue;
        }
        for (int32_t x = 0; x < s.image.width; ++x)
        {
            const uint8_t* p = source + x * 4;
            const int k = inverted ? p[3] : 255 - p[3];
            for (int c = 0; c < 3; ++c)
            {
                const int v = inverted ? p[c] : 255 - p[c];
                target[x * 3 + 2 - c] = static_cast<uint8_t>(v * k / 255);
            }
        }
    }

    if (s.cinfo.density_unit == 1)
        codec::SetResolutionDpi(s.image, s.cinfo.X_density, s.cinfo.Y_density);
    else if (s.cinfo.density_unit == 2)
        codec::SetResolutionDpi(s.image, s.cinfo.X_density * 2.54, s.cinfo.Y_density * 2.54);
    // Whatever follows the last row (normally just the end marker) is not needed.
    jpeg_destroy_decompress(&s.cinfo);
    return true;
}

class CJpegCodec : public CImageCodec
{
public:
    bool Decode(CByteStream& in, TImageData& out, std::string& error) override
    {
        std::vector<uint8_t> data;
        if (!codec::ReadRest(in, data, "JPEG", error))
            return false;
        if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
        {
            error = "JPEG: not a JPEG file";
            return false;
        }
        auto state = std::make_unique<TJpegState>();
        state->data = &data;
        if (!Run(*state))
        {
            error = state->error;
            return false;
        }
        state->image.format = kFormatJpeg;
        out = std::move(state->image);
        return true;
    }
};

}  // namespace

std::unique_ptr<CImageCodec> MakeJpegCodec()
{
    return std::make_unique<CJpegCodec>();
}
