#include "UserPageFile.h"

#include "DataStore.h"
#include "ImageEntry.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "ObjectVisitor.h"
#include "PageList.h"
#include "PageMerge.h"
#include "ReportText.h"
#include "UserButton.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <utility>

namespace
{

constexpr int32_t kFirstAddedId = 10000;

// The ids of added pictures the page refers to, in the order they are
// exported; repeats are kept.
std::vector<int32_t> PictureReferences(const TUserPage& page)
{
    std::vector<int32_t> ids;
    auto face = [&ids](const TUserFace& f) {
        if (f.type == kFaceImage)
            ids.push_back(f.param);
    };
    face(page.face);
    const auto references = Overloaded{
        [&](const TUserButton& button)
        {
            face(button.downFace);
            face(button.upFace);
        },
        [&](const TUserLevel& level) { ids.push_back(level.sliderImageId); },
        [&](const TUserImage& image) { face(image.face); },
        [](const TUserHotspot&) {},
        [](const TUserObject&) {},
    };
    for (const auto& object : page.objects)
        VisitObject(std::as_const(*object), references);
    return ids;
}

} // namespace

std::vector<uint8_t> StoreUserPage(const TLayout& layout, const TUserPage& page)
{
    CDataStore store;
    store.WriteInt(static_cast<int32_t>(kUserPageMagic));
    // Serialize is one operation for both directions; storing reads only.
    const_cast<TUserPage&>(page).Serialize(store);
    for (int32_t id : PictureReferences(page))
    {
        if (id < kFirstAddedId)
            continue;
        if (TImageEntry* entry = layout.images.FindImage(id))
        {
            store.WriteInt(1);
            entry->Serialize(store);
        }
    }
    return store.CopyData();
}

TFileResult CheckUserPageSize(size_t size)
{
    if (size <= kUserPageFileLimit)
        return TFileResult::Success();
    std::string reason = "the page with its pictures is ";
    reason += GroupedDigits(size);
    reason += " bytes, more than the ";
    reason += GroupedDigits(kUserPageFileLimit);
    reason += " a user page file may have to be imported";
    return TFileResult::Failure(EFileError::TooLargeToStore, std::move(reason));
}

TFileResult ExportUserPage(const TLayout& layout, const TUserPage& page, const std::string& path)
{
    const std::vector<uint8_t> bytes = StoreUserPage(layout, page);
    if (TFileResult fits = CheckUserPageSize(bytes.size()); !fits)
        return fits;
    return WriteFileAtomically(path, bytes);
}

TFileResult ReadUserPageBytes(const uint8_t* data, size_t size, TUserPageFileContents& contents)
{
    if (size > kUserPageFileLimit)
        return TFileResult::Failure(EFileError::TooLarge, "file too large (over " + std::to_string(kUserPageFileLimit) + " bytes)");
    if (data == nullptr || size <= 4)
        return TFileResult::Failure(EFileError::NotOurs, "not a QEL-1 user page (too short)");
    if (ReadMagic(data, size) != kUserPageMagic)
        return TFileResult::Failure(EFileError::NotOurs, "not a QEL-1 user page (wrong magic number)");
    CDataStore store(data + 4, size - 4);
    auto page = std::make_unique<TUserPage>();
    page->Serialize(store);
    if (store.Failed())
        return TFileResult::Failure(EFileError::Damaged, "damaged user page data");
    std::vector<std::unique_ptr<TImageEntry>> pictures;
    while (store.Remaining() >= 4 && store.ReadInt() == 1)
    {
        auto entry = std::make_unique<TImageEntry>();
        entry->Serialize(store);
        if (store.Failed())
            return TFileResult::Failure(EFileError::Damaged, "damaged picture data");
        pictures.push_back(std::move(entry));
    }
    contents.page = std::move(page);
    contents.pictures = std::move(pictures);
    return TFileResult::Success();
}

TFileResult ReadUserPageFile(const std::string& path, TUserPageFileContents& contents)
{
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadWholeFile(path, kUserPageFileLimit, bytes); !read)
        return read;
    return ReadUserPageBytes(bytes.data(), bytes.size(), contents);
}

TFileResult ImportUserPageBytes(TLayout& layout, TUserPage& target, const uint8_t* data, size_t size)
{
    TUserPageFileContents contents;
    if (TFileResult read = ReadUserPageBytes(data, size, contents); !read)
        return read;
    // Nothing below can fail, so the page and the library change together.
    TUserPage& source = *contents.page;
    target.name = std::move(source.name);
    target.id = source.id;
    target.face = source.face;
    target.objects = std::move(source.objects);
    ClearImportMarks(target);
    for (auto& picture : contents.pictures)
        MergeImportedPicture(layout.images, target, std::move(picture));
    ClearImportMarks(target);
    return TFileResult::Success();
}

TFileResult ImportUserPage(TLayout& layout, TUserPage& target, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadWholeFile(path, kUserPageFileLimit, bytes); !read)
        return read;
    return ImportUserPageBytes(layout, target, bytes.data(), bytes.size());
}

int32_t ImportedPageId(const TPageList& pages, int32_t fileId, const TListItem* page, int32_t ownId)
{
    if (fileId < TPageList::kFirstId)
        return ownId;
    for (const auto& other : pages)
    {
        if (other.get() != page && other->id == fileId)
            return ownId;
    }
    return fileId;
}
