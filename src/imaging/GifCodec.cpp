#include "Codecs.h"
#include "CodecSupport.h"

#include <algorithm>

#include <gif_lib.h>

namespace
{

int ReadFromStream(GifFileType* gif, GifByteType* buffer, int size)
{
    if (size <= 0)
        return 0;
    auto* in = static_cast<CByteStream*>(gif->UserData);
    return static_cast<int>(in->Read(buffer, static_cast<size_t>(size)));
}

struct TGifCloser
{
    void operator()(GifFileType* gif) const
    {
        int code = 0;
        DGifCloseFile(gif, &code);
    }
};

std::string GifError(int code)
{
    const char* text = GifErrorString(code);
    return std::string("GIF: ") + (text != nullptr ? text : "unreadable file");
}

class CGifCodec : public CImageCodec
{
public:
    // Only the first frame is read: it is drawn onto the logical screen,
    // which elsewhere shows the transparent colour when there is one and the
    // background colour otherwise.
    bool Decode(CByteStream& in, TImageData& out, std::string& error) override
    {
        uint8_t signature[6];
        const int64_t start = in.Tell();
        if (in.Read(signature, sizeof signature) != sizeof signature || signature[0] != 'G' || signature[1] != 'I' ||
            signature[2] != 'F' || signature[3] != '8' || !in.Seek(start))
        {
            error = "GIF: not a GIF file";
            return false;
        }
        int code = 0;
        std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&in, ReadFromStream, &code));
        if (!gif)
        {
            error = GifError(code);
            return false;
        }

        int transparent = -1;
        for (;;)
        {
            GifRecordType type = UNDEFINED_RECORD_TYPE;
            if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            {
                error = GifError(gif->Error);
                return false;
            }
            if (type == EXTENSION_RECORD_TYPE)
            {
                int extensionCode = 0;
                GifByteType* extension = nullptr;
                if (DGifGetExtension(gif.get(), &extensionCode, &extension) == GIF_ERROR)
                {
                    error = GifError(gif->Error);
                    return false;
                }
                if (extensionCode == GRAPHICS_EXT_FUNC_CODE && extension != nullptr)
                {
                    GraphicsControlBlock control;
                    if (DGifExtensionToGCB(extension[0], extension + 1, &control) == GIF_OK)
                        transparent = control.TransparentColor;
                }
                while (extension != nullptr)
                {
                    if (DGifGetExtensionNext(gif.get(), &extension) == GIF_ERROR)
                    {
                        error = GifError(gif->Error);
                        return false;
                    }
                }
                continue;
            }
            if (type == IMAGE_DESC_RECORD_TYPE)
                break;
            error = "GIF: the file holds no picture";
            return false;
        }
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
        {
            error = GifError(gif->Error);
            return false;
        }

        const GifImageDesc& frame = gif->Image;
        if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0)
        {
            error = "GIF: invalid frame size";
            return false;
        }
        const int64_t width = std::max<int64_t>(gif->SWidth, int64_t{frame.Left} + frame.Width);
        const int64_t height = std::max<int64_t>(gif->SHeight, int64_t{frame.Top} + frame.Height);
        TImageData image;
        if (!codec::CreateImage(image, width, height, 8, "GIF", error))
            return false;

        const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
        if (colours != nullptr && colours->Colors != nullptr)
        {
            const int count = std::min(colours->ColorCount, 256);
            for (int i = 0; i < count; ++i)
            {
                const GifColorType& c = colours->Colors[i];
                image.palette[i] = TRgbQuad{c.Blue, c.Green, c.Red, 0};
            }
        }
        else
        {
            codec::SetGreyPalette(image);
        }
        if (transparent > 255)
            transparent = -1;
        const int fill = transparent >= 0 ? transparent : std::clamp(gif->SBackGroundColor, 0, 255);
        std::fill(image.bits.begin(), image.bits.end(), static_cast<uint8_t>(fill));

        std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));
        auto readRow = [&](int row) {
            if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR)
                return false;
            uint8_t* target = image.Row(image.height - 1 - (frame.Top + row)) + frame.Left;
            std::copy(line.begin(), line.end(), target);
            return true;
        };
        bool complete = true;
        if (frame.Interlace)
        {
            static const int offsets[] = {0, 4, 2, 1};
            static const int steps[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4 && complete; ++pass)
                for (int row = offsets[pass]; row < frame.Height && complete; row += steps[pass])
                    complete = readRow(row);
        }
        else
        {
            for (int row = 0; row < frame.Height && complete; ++row)
                complete = readRow(row);
        }
        if (!complete)
        {
            error = GifError(gif->Error);
            return false;
        }

        image.transparentIndex = transparent;
        if (transparent >= 0)
            image.transparentColor = image.palette[transparent];
        image.format = kFormatGif;
        out = std::move(image);
        return true;
    }
};

}  // namespace

std::unique_ptr<CImageCodec> MakeGifCodec()
{
    return std::make_unique<CGifCodec>();
}
