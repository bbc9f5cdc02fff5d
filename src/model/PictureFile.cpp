#include "PictureFile.h"

#include "ImageBuffer.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace
{

constexpr int32_t kPanelWidth = 320;
constexpr int32_t kPanelHeight = 240;

// "picture too large (20000 × 20000; at most ...)": the size comes from the
// decoder's refusal, which reads "... picture too large (W x H)" when the
// picture announced one.
std::string TooLargeReason(const std::string& error)
{
    const std::string limits = "at most " + std::to_string(kMaxImageSide) + " pixels on a side and " +
                               std::to_string(kMaxImagePixels / 1000000) + " million pixels";
    long long width = 0;
    long long height = 0;
    const size_t open = error.rfind('(');
    if (open != std::string::npos && std::sscanf(error.c_str() + open, "(%lld x %lld)", &width, &height) == 2)
        return "picture too large (" + std::to_string(width) + " \u00D7 " + std::to_string(height) + "; " +
               limits + ")";
    return "picture too large (" + limits + ")";
}

// Fits a picture just read, or words why it could not be read.
TFileResult TakePicture(std::unique_ptr<CImageBuffer> image, bool read, TPictureFile& picture)
{
    if (!read || !image->Data().HasPixels())
    {
        if (IsSizeRefusal(image->GetLastError()))
            return TFileResult::Failure(EFileError::TooLarge, TooLargeReason(image->GetLastError()));
        return TFileResult::Failure(EFileError::NotOurs, "not a picture in a format we read");
    }
    picture.fileWidth = static_cast<int32_t>(image->GetWidth());
    picture.fileHeight = static_cast<int32_t>(image->GetHeight());
    FitPictureToPanel(*image);
    picture.image = std::move(image);
    return TFileResult::Success();
}

} // namespace

void FitPictureToPanel(CImageBuffer& image)
{
    const int32_t w = static_cast<int32_t>(image.GetWidth());
    const int32_t h = static_cast<int32_t>(image.GetHeight());
    if (w <= 0 || h <= 0)
        return;
    const double xr = w / static_cast<double>(kPanelWidth);
    const double yr = h / static_cast<double>(kPanelHeight);
    int32_t a = w;
    int32_t b = h;
    if (xr > 1 && xr > yr)
    {
        a = kPanelWidth;
        b = static_cast<int32_t>(h * static_cast<double>(kPanelWidth) / w);
    }
    else if (yr > 1)
    {
        b = kPanelHeight;
        a = static_cast<int32_t>(w * static_cast<double>(kPanelHeight) / h);
    }
    if (xr > 1 || yr > 1)
        image.Resample(std::max(a, 1), std::max(b, 1), 2);
}

TFileResult LoadPictureFile(const std::string& path, TPictureFile& picture)
{
    // Opened first, so that a missing file, a folder or a device (some never
    // end) is named as such rather than as a bad picture.
    TFileResult failure;
    const int fd = OpenForReading(path, failure);
    if (fd < 0)
        return failure;
    ::close(fd);
    auto image = std::make_unique<CImageBuffer>();
    const bool read = image->Load(path, kFormatUnknown);
    return TakePicture(std::move(image), read, picture);
}

TFileResult LoadPictureBytes(const std::vector<uint8_t>& bytes, TPictureFile& picture)
{
    auto image = std::make_unique<CImageBuffer>();
    const bool read = image->Decode(bytes.data(), bytes.size(), kFormatUnknown);
    return TakePicture(std::move(image), read, picture);
}
