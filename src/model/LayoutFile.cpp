#include "LayoutFile.h"

#include "Layout.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "ImageBuffer.h"

uint32_t ReadMagic(const uint8_t* bytes, size_t size)
{
    if (size < 4)
        return 0;
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

TFileResult LoadTemplateFile(TLayout& layout, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadWholeFile(path, kTemplateFileLimit, bytes); !read)
        return read;
    if (bytes.size() <= 4)
        return TFileResult::Failure(EFileError::NotOurs, "not a QEL-1 template (too short)");
    if (ReadMagic(bytes.data(), bytes.size()) != kTemplateMagic)
        return TFileResult::Failure(EFileError::NotOurs, "not a QEL-1 template (wrong magic number)");
    if (!layout.LoadFromBuffer(bytes.data() + 4, static_cast<int32_t>(bytes.size() - 4)))
        return TFileResult::Failure(EFileError::Damaged, "damaged layout data");
    return TFileResult::Success();
}

TFileResult SaveTemplateFile(TLayout& layout, const std::string& path)
{
    // The whole file, magic included, must stay within what loading takes,
    // or a saved template could never be opened again.
    constexpr auto capacity = static_cast<int32_t>(kTemplateFileLimit - 4);
    std::vector<uint8_t> image(static_cast<size_t>(capacity));
    const int32_t length = layout.SaveToBuffer(image.data(), capacity);
    if (length < 0)
        return TFileResult::Failure(EFileError::TooLargeToStore,
                                    "layout too large for a template (a file over " +
                                        std::to_string(kTemplateFileLimit) + " bytes)");
    const uint8_t magic[4] = {0xD5, 0xCA, 0xAD, 0xAB};
    return WriteFileAtomically(path, {{magic, sizeof magic}, {image.data(), static_cast<size_t>(length)}});
}

TFileResult LoadLayoutImageFile(TLayout& layout, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadWholeFile(path, static_cast<size_t>(kUploadCapacity), bytes); !read)
        return read;
    if (bytes.size() < 4)
        return TFileResult::Failure(EFileError::NotOurs, "not a layout image (too short)");
    if (!layout.LoadFromBuffer(bytes.data(), static_cast<int32_t>(bytes.size())))
        return TFileResult::Failure(EFileError::Damaged, "damaged layout data");
    return TFileResult::Success();
}

void FitPictureToPanel(CImageBuffer& image)
{
    const int32_t w = static_cast<int32_t>(image.GetWidth());
    const int32_t h = static_cast<int32_t>(image.GetHeight());
    if (w <= 0 || h <= 0)
        return;
    const double xr = w / 320.0;
    const double yr = h / 240.0;
    int32_t a = w;
    int32_t b = h;
    if (xr > 1 && xr > yr)
    {
        a = 320;
        b = static_cast<int32_t>(h * 320.0 / w);
    }
    else if (yr > 1)
    {
        b = 240;
        a = static_cast<int32_t>(w * 240.0 / h);
    }
    if (xr > 1 || yr > 1)
        image.Resample(std::max(a, 1), std::max(b, 1), 2);
}

TFileResult LoadLibraryPicture(const std::string& path, std::unique_ptr<CImageBuffer>& image)
{
    // Checked first so that a missing file is not reported as a bad picture.
    TFileResult failure;
    const int fd = OpenForReading(path, failure);
    if (fd < 0)
        return failure;
    ::close(fd);
    auto picture = std::make_unique<CImageBuffer>();
    if (!picture->Load(path, kFormatUnknown) || !picture->Data().HasPixels())
        return TFileResult::Failure(EFileError::NotOurs, "not a picture in a format we read");
    FitPictureToPanel(*picture);
    image = std::move(picture);
    return TFileResult::Success();
}
