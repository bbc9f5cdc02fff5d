#include "ImageLibrary.h"
#include "BuiltinLibrary.h"
#include "DataStore.h"
#include "ImageBuffer.h"
#include "RecordBytes.h"

#include <gtest/gtest.h>

#include <regex>

namespace
{

std::unique_ptr<CImageBuffer> Picture(int32_t width, int32_t height)
{
    auto picture = std::make_unique<CImageBuffer>();
    EXPECT_TRUE(picture->Data().Create(width, height, 24));
    return picture;
}

// A library of two small pictures, ids 2 and 4, in the data in that order.
TBuiltinLibrary SmallLibrary()
{
    TBuiltinLibrary library;
    for (int32_t id : {4, 2})
    {
        TLibraryImage image;
        image.id = id;
        image.image = Picture(id, 3);
        library.images.push_back(image);
    }
    return library;
}

std::vector<int32_t> Ids(const TImageLibrary& images)
{
    std::vector<int32_t> ids;
    for (const auto& entry : images)
    {
        ids.push_back(entry->id);
    }
    return ids;
}

TEST(ImageLibrary, AddedIdsStartAtTenThousandAndNeverReuseTheLargest)
{
    TImageLibrary images;
    images.AddBuiltinImages(SmallLibrary());
    TImageEntry* first = images.AddImage(u"first", Picture(1, 1));
    EXPECT_EQ(first->id, 10000);
    EXPECT_EQ(images.AddImage(u"second", nullptr)->id, 10001);
    EXPECT_TRUE(images.DeleteImage(first));
    EXPECT_FALSE(images.DeleteImage(first));
    EXPECT_EQ(images.AddImage(u"third", nullptr)->id, 10002);
    EXPECT_EQ(Ids(images), (std::vector<int32_t>{10002, 10001, 2, 4}));
    EXPECT_NE(images.FindImage(10001)->guid, images.FindImage(10002)->guid);
}

TEST(ImageLibrary, BuiltinEntriesShareTheLibrarysPictures)
{
    const TBuiltinLibrary library = SmallLibrary();
    TImageLibrary images;
    images.AddBuiltinImages(library);
    TImageEntry* glow = images.FindImage(4);
    ASSERT_NE(glow, nullptr);
    EXPECT_EQ(glow->name, u"ZZZ: Blue Glow Button Composite");
    EXPECT_EQ(glow->image, library.FindImage(4)->image);
    EXPECT_EQ(images.FindImage(17), nullptr);

    // Emptied and filled again, the built-in pictures are still there.
    images.DeleteImage(glow);
    images.Clear();
    images.AddBuiltinImages(library);
    EXPECT_EQ(images.FindImage(4)->image->GetWidth(), 4u);
}

TEST(ImageEntryRecord, NameBytesAndAnEntryWithoutPicture)
{
    TImageEntry entry;
    entry.id = 10003;
    entry.name = u"Cat";
    entry.guid = NewGuid();
    CRecordBytes expected;
    expected.Ints({2, 10003}).Raw({3, 0, 0, 0, 'C', 0, 'a', 0, 't', 0}).Ints({1, 0});
    expected.bytes.insert(expected.bytes.end(), entry.guid.begin(), entry.guid.end());
    const auto bytes = Stored(entry);
    EXPECT_EQ(bytes, expected.bytes);

    CDataStore in(bytes.data(), bytes.size());
    TImageEntry read;
    read.image = Picture(1, 1);
    read.Serialize(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(read.image, nullptr);
    EXPECT_EQ(read.guid, entry.guid);
    EXPECT_EQ(read.name, u"Cat");
}

TEST(ImageEntryRecord, PictureRoundTripsAsPng)
{
    TImageEntry entry;
    entry.id = 10000;
    entry.image = Picture(7, 5);
    const auto bytes = Stored(entry);
    // The PNG signature follows the tag and the length.
    ASSERT_GT(bytes.size(), 24u + 16u);
    EXPECT_EQ(bytes[20], 0x89);
    EXPECT_EQ(bytes[21], 'P');

    CDataStore in(bytes.data(), bytes.size());
    TImageEntry read;
    read.Serialize(in);
    ASSERT_NE(read.image, nullptr);
    EXPECT_EQ(read.image->GetWidth(), 7u);
    EXPECT_EQ(read.image->GetHeight(), 5u);
    EXPECT_EQ(in.Remaining(), 0);
}

TEST(ImageEntryRecord, VersionOneGetsAFreshGuidAndBadPicturesStayEmpty)
{
    const auto bytes = CRecordBytes().Ints({1, 10005}).Text(u"v1").Ints({1, 3}).Raw({1, 2, 3}).bytes;
    CDataStore in(bytes.data(), bytes.size());
    TImageEntry read;
    read.Serialize(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(read.id, 10005);
    EXPECT_NE(read.guid, TGuid{});
    EXPECT_EQ(read.guid[7] >> 4, 4);
    EXPECT_EQ(read.guid[8] & 0xC0, 0x80);
    ASSERT_NE(read.image, nullptr);
    EXPECT_EQ(read.image->GetWidth(), 0u);
}

TEST(ImageEntryRecord, PictureLengthOutsideTheDataFails)
{
    for (int32_t length : {-1, 1000})
    {
        const auto bytes = CRecordBytes().Ints({2, 10000}).Text(u"x").Ints({1, length}).Zeros(40).bytes;
        CDataStore in(bytes.data(), bytes.size());
        TImageEntry read;
        read.Serialize(in);
        EXPECT_TRUE(in.Failed()) << length;
        EXPECT_EQ(read.image, nullptr) << length;
    }
}

TEST(Guid, TextFormPrintsTheFirstThreeFieldsLittleEndian)
{
    const TGuid guid{0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0x4E,
                     0x89, 0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x67};
    EXPECT_EQ(GuidToText(guid), "{12345678-9ABC-4EF0-89AB-CDEF01234567}");
    EXPECT_TRUE(std::regex_match(
        GuidToText(NewGuid()),
        std::regex("\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}")));
}

} // namespace
