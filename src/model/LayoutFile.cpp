#include "LayoutFile.h"

#include "Layout.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

uint32_t ReadMagic(const uint8_t* bytes, size_t size)
{
    if (size < 4)
        return 0;
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

TFileResult LoadTemplateBytes(TLayout& layout, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() > kTemplateFileLimit)
        return TFileResult::Failure(EFileError::TooLarge,
                                    "file too large (over " + std::to_string(kTemplateFileLimit) + " bytes)");
    if (bytes.size() <= 4)
        return TFileResult::Failure(EFileError::NotOurs, "not a QEL-1 template (too short)");
    if (ReadMagic(bytes.data(), bytes.size()) != kTemplateMagic)
        return TFileResult::Failure(EFileError::NotOurs, "not a QEL-1 template (wrong magic number)");
    if (!layout.LoadFromBuffer(bytes.data() + 4, static_cast<int32_t>(bytes.size() - 4)))
        return TFileResult::Failure(EFileError::Damaged, "damaged layout data");
    return TFileResult::Success();
}

TFileResult LoadTemplateFile(TLayout& layout, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadWholeFile(path, kTemplateFileLimit, bytes); !read)
        return read;
    return LoadTemplateBytes(layout, bytes);
}

TFileResult StoreTemplateBytes(TLayout& layout, std::vector<uint8_t>& bytes)
{
    // The whole file, magic included, must stay within what loading takes,
    // or a saved template could never be opened again.
    constexpr auto capacity = static_cast<int32_t>(kTemplateFileLimit - 4);
    std::vector<uint8_t> file(kTemplateFileLimit);
    const int32_t length = layout.SaveToBuffer(file.data() + 4, capacity);
    if (length < 0)
        return TFileResult::Failure(EFileError::TooLargeToStore,
                                    "layout too large for a template (a file over " +
                                        std::to_string(kTemplateFileLimit) + " bytes)");
    const uint8_t magic[4] = {0xD5, 0xCA, 0xAD, 0xAB};
    std::copy(magic, magic + 4, file.begin());
    file.resize(4 + static_cast<size_t>(length));
    bytes = std::move(file);
    return TFileResult::Success();
}

TFileResult SaveTemplateFile(TLayout& layout, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (TFileResult stored = StoreTemplateBytes(layout, bytes); !stored)
        return stored;
    return WriteFileAtomically(path, bytes);
}

TFileResult LoadLayoutImageBytes(TLayout& layout, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() > static_cast<size_t>(kUploadCapacity))
        return TFileResult::Failure(EFileError::TooLarge,
                                    "file too large (over " + std::to_string(kUploadCapacity) + " bytes)");
    if (bytes.size() < 4)
        return TFileResult::Failure(EFileError::NotOurs, "not a layout image (too short)");
    if (!layout.LoadFromBuffer(bytes.data(), static_cast<int32_t>(bytes.size())))
        return TFileResult::Failure(EFileError::Damaged, "damaged layout data");
    return TFileResult::Success();
}

TFileResult LoadLayoutImageFile(TLayout& layout, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadWholeFile(path, static_cast<size_t>(kUploadCapacity), bytes); !read)
        return read;
    return LoadLayoutImageBytes(layout, bytes);
}
