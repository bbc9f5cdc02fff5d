#include "DataStore.h"
#include "ImageEntry.h"
#include "ImageLibrary.h"
#include "ImageBuffer.h"
#include "Layout.h"
#include "PageMerge.h"
#include "UserButton.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <gtest/gtest.h>

namespace
{

TGuid Guid(uint8_t tag)
{
    TGuid guid{};
    guid.fill(tag);
    return guid;
}

std::unique_ptr<TImageEntry> Entry(int32_t id, uint8_t guidTag)
{
    auto entry = std::make_unique<TImageEntry>();
    entry->id = id;
    entry->name = u"picture";
    entry->guid = Guid(guidTag);
    return entry;
}

TUserButton* AddButton(TUserPage& page, int32_t upImage, int32_t downImage)
{
    auto button = std::make_unique<TUserButton>();
    button->upFace = {kFaceImage, upImage};
    button->downFace = {kFaceImage, downImage};
    return static_cast<TUserButton*>(page.AppendObject(std::move(button)));
}

std::vector<int32_t> AddedIds(const TImageLibrary& library)
{
    std::vector<int32_t> ids;
    for (const auto& entry : library)
    {
        if (entry->id >= 10000)
            ids.push_back(entry->id);
    }
    return ids;
}

// The ids of the pictures written into a user page file, in file order.
std::vector<int32_t> FilePictureIds(const std::vector<uint8_t>& file)
{
    TUserPageFileContents contents;
    EXPECT_TRUE(ReadUserPageBytes(file.data(), file.size(), contents).ok);
    std::vector<int32_t> ids;
    for (const auto& picture : contents.pictures)
        ids.push_back(picture->id);
    return ids;
}

} // namespace

// Library: 10000 (GUID A). File: 10000 (B) on P, 10001 (C) on Q. B takes 10001,
// C takes 10002, and P, re-pointed once, is not caught by C's re-pointing.
TEST(MergeUserPage, PicturesTakeFreeIdsAndReferencesMoveOnce)
{
    TLayout layout;
    layout.images.InsertHead(Entry(10000, 'A'));
    TUserPage page;
    TUserButton* p = AddButton(page, 10000, 10000);
    TUserButton* q = AddButton(page, 10001, 10001);
    ClearImportMarks(page);

    EXPECT_EQ(MergeImportedPicture(layout.images, page, Entry(10000, 'B')), 10001);
    EXPECT_EQ(MergeImportedPicture(layout.images, page, Entry(10001, 'C')), 10002);
    EXPECT_EQ(p->upFace.param, 10001);
    EXPECT_EQ(p->downFace.param, 10001);
    EXPECT_EQ(q->upFace.param, 10002);
    EXPECT_EQ(AddedIds(layout.images), (std::vector<int32_t>{10002, 10001, 10000}));
}

TEST(MergeUserPage, KnownGuidReusesTheLibraryEntry)
{
    TLayout layout;
    layout.images.InsertHead(Entry(10003, 'A'));
    TUserPage page;
    auto level = std::make_unique<TUserLevel>();
    level->sliderImageId = 10000;
    auto* slider = static_cast<TUserLevel*>(page.AppendObject(std::move(level)));
    page.face = {kFaceImage, 10000};
    ClearImportMarks(page);
    EXPECT_EQ(MergeImportedPicture(layout.images, page, Entry(10000, 'A')), 10003);
    EXPECT_EQ(slider->sliderImageId, 10003);
    EXPECT_EQ(page.face.param, 10003);
    EXPECT_EQ(AddedIds(layout.images), (std::vector<int32_t>{10003}));
}

// A loaded library may hold the largest id; a new picture must not wrap past it.
TEST(MergeUserPage, LargestIdInTheLibraryIsPassedOver)
{
    TLayout layout;
    layout.images.InsertHead(Entry(INT32_MAX, 'A'));
    TUserPage page;
    ClearImportMarks(page);
    EXPECT_EQ(MergeImportedPicture(layout.images, page, Entry(10000, 'B')), 10000);
    EXPECT_EQ(AddedIds(layout.images), (std::vector<int32_t>{10000, INT32_MAX}));
}

TEST(MergeUserPage, ExportWritesEachReferenceAndReimportAddsNothing)
{
    TLayout layout;
    const int32_t shared = layout.images.AddImage(u"shared", nullptr)->id;
    const int32_t other = layout.images.AddImage(u"other", nullptr)->id;
    auto page = std::make_unique<TUserPage>(u"Export me", layout.pages.NextPageId());
    page->face = {kFaceImage, other};
    AddButton(*page, shared, shared);
    auto image = std::make_unique<TUserImage>();
    image->face = {kFaceImage, 4};  // built-in: never written
    page->AppendObject(std::move(image));
    AddButton(*page, 12345, 12345);  // not in the library: nothing written
    TUserPage& exported = static_cast<TUserPage&>(*layout.pages.InsertPage(std::move(page)));

    const std::vector<uint8_t> file = StoreUserPage(layout, exported);
    EXPECT_EQ(FilePictureIds(file), (std::vector<int32_t>{other, shared, shared}));

    const std::vector<int32_t> before = AddedIds(layout.images);
    TUserPage target;
    ASSERT_TRUE(ImportUserPageBytes(layout, target, file.data(), file.size()).ok);
    EXPECT_EQ(AddedIds(layout.images), before);
    EXPECT_EQ(target.name, u"Export me");
    EXPECT_EQ(target.id, exported.id);
    EXPECT_EQ(target.face.param, other);
    EXPECT_EQ(static_cast<TUserButton&>(*target.objects[0]).downFace.param, shared);
    EXPECT_EQ(static_cast<TUserButton&>(*target.objects[2]).upFace.param, 12345);

    // Into another layout the shared picture arrives once.
    TLayout elsewhere;
    TUserPage fresh;
    ASSERT_TRUE(ImportUserPageBytes(elsewhere, fresh, file.data(), file.size()).ok);
    EXPECT_EQ(AddedIds(elsewhere.images).size(), 2u);
}

TEST(MergeUserPage, PageWithoutAddedPicturesEndsAfterItsRecord)
{
    TLayout layout;
    TUserPage page(u"Plain", 10000);
    AddButton(page, 4, 16);
    const std::vector<uint8_t> file = StoreUserPage(layout, page);
    CDataStore record;
    page.Serialize(record);
    EXPECT_EQ(file.size(), 4u + static_cast<size_t>(record.GetLength()));
    EXPECT_TRUE(FilePictureIds(file).empty());
}

TEST(MergeUserPage, RefusedFileChangesNeitherPageNorLibrary)
{
    TLayout layout;
    const int32_t id = layout.images.AddImage(u"pic", nullptr)->id;
    TUserPage source(u"Source", 10000);
    AddButton(source, id, id);
    std::vector<uint8_t> file = StoreUserPage(layout, source);

    TLayout target;
    TUserPage page(u"Mine", 10007);
    AddButton(page, 3, 3);
    const size_t libraryBefore = target.images.Size();
    const std::vector<std::vector<uint8_t>> refused = {
        std::vector<uint8_t>(file.begin(), file.end() - 3),  // the last picture cut short
        std::vector<uint8_t>(file.begin(), file.begin() + 4),
        {0xD5, 0xCA, 0xAD, 0xAB, 0, 0, 0, 0},  // a template's magic
    };
    for (const auto& bytes : refused)
    {
        EXPECT_FALSE(ImportUserPageBytes(target, page, bytes.data(), bytes.size()).ok);
        EXPECT_EQ(page.name, u"Mine");
        EXPECT_EQ(page.id, 10007);
        ASSERT_EQ(page.objects.size(), 1u);
        EXPECT_EQ(target.images.Size(), libraryBefore);
    }
}
