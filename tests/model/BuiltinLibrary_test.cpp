#include "BuiltinLibrary.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "RecordBytes.h"

#include <gtest/gtest.h>

namespace
{

std::vector<uint8_t> LibraryData()
{
    CRecordBytes data;
    data.Ints({TBuiltinLibrary::kMagic, 1});
    // Colours: a version 2 record, then a version 1 record, which has no flag byte.
    data.Ints({1, 2, 1, 4}).Raw({136, 136, 131, 7, 0, 0, 0});
    data.Ints({1, 1, 2, 1}).Raw({40, 40, 30, 9, 9, 9});
    data.Int(0);
    data.Ints({1, 1, 1}).Text(u"ON").Ints({1, 1, 2}).Text(u"OFF").Int(0);
    // Pictures 1 and 16, the second with bytes that do not decode.
    TLibraryImage picture;
    picture.id = 1;
    picture.image = std::make_shared<CImageBuffer>();
    picture.image->Data().Create(3, 2, 24);
    CDataStore store;
    store.WriteInt(1);
    picture.Serialize(store);
    const auto bytes = store.CopyData();
    data.bytes.insert(data.bytes.end(), bytes.begin(), bytes.end());
    data.Ints({1, 1, 16, 0, 0, kFormatPng, 2}).Raw({0xAA, 0xBB});
    data.Int(0);
    data.Ints({1, 999}).Int(0); // glyph records: never read
    return data.bytes;
}

TEST(BuiltinLibrary, ReadsEachListHeadFirst)
{
    const auto data = LibraryData();
    TBuiltinLibrary library;
    ASSERT_TRUE(library.Load(data.data(), data.size()));

    ASSERT_EQ(library.colours.size(), 2u);
    const TLibraryColour& one = library.colours[0];
    EXPECT_EQ(one.id, 2);
    EXPECT_EQ(one.colourA, (std::array<uint8_t, 3>{40, 40, 30}));
    EXPECT_EQ(one.flag, 0);
    EXPECT_EQ(one.colourB, (std::array<uint8_t, 3>{9, 9, 9}));
    EXPECT_EQ(library.colours[1].kind, 4);
    EXPECT_EQ(library.colours[1].flag, 7);

    ASSERT_EQ(library.strings.size(), 2u);
    EXPECT_EQ(library.strings[0].text, u"OFF");
    EXPECT_EQ(library.strings[1].text, u"ON");

    ASSERT_EQ(library.images.size(), 2u);
    EXPECT_EQ(library.images[0].id, 16);
    EXPECT_EQ(library.images[0].image->GetWidth(), 0u);
    EXPECT_EQ(library.images[1].image->GetWidth(), 3u);

    // The image library adds them head first again, so data order returns.
    TImageLibrary images;
    images.AddBuiltinImages(library);
    EXPECT_EQ(images.Head()->id, 1);
    EXPECT_EQ(images.Head()->name, u"ZZZ: Main Background");
}

TEST(BuiltinLibrary, RefusesBadMagicAndStopsAtTheEndOfTheData)
{
    auto data = LibraryData();
    TBuiltinLibrary library;
    data[0] ^= 1;
    EXPECT_FALSE(library.Load(data.data(), data.size()));
    EXPECT_TRUE(library.colours.empty() && library.strings.empty() && library.images.empty());
    EXPECT_FALSE(library.Load(nullptr, 0));

    data[0] ^= 1;
    for (size_t cut = 0; cut < data.size(); ++cut)
    {
        TBuiltinLibrary partial;
        partial.Load(data.data(), cut);
        EXPECT_LE(partial.images.size(), 2u);
    }
    // Cut inside the first picture: the colours and texts read whole stay.
    TBuiltinLibrary partial;
    EXPECT_FALSE(partial.Load(data.data(), 120));
    EXPECT_EQ(partial.colours.size(), 2u);
    EXPECT_EQ(partial.strings.size(), 2u);
    EXPECT_TRUE(partial.images.empty());
}

TEST(BuiltinLibrary, StoreAndLoadAgree)
{
    const auto data = LibraryData();
    TBuiltinLibrary library;
    library.Load(data.data(), data.size());
    const auto stored = library.Store();
    TBuiltinLibrary again;
    ASSERT_TRUE(again.Load(stored.data(), stored.size()));
    EXPECT_EQ(again.colours.size(), 2u);
    EXPECT_EQ(again.images[1].image->GetWidth(), 3u);
}

// The data the program carries: sixteen pictures of the listed sizes.
TEST(BuiltinLibrary, CarriedDataHoldsTheSixteenPictures)
{
    const TBuiltinLibrary& library = BuiltinLibrary();
    ASSERT_EQ(library.images.size(), 16u);
    EXPECT_EQ(library.colours.size(), 8u);
    EXPECT_EQ(library.strings.size(), 7u);
    const struct
    {
        int32_t id;
        uint32_t width, height;
    } sizes[] = {{1, 320, 240},  {2, 46, 76},    {3, 31, 31},    {4, 31, 31},  {5, 24, 24},  {6, 24, 24},
                 {7, 26, 188},   {8, 90, 21},    {9, 18, 17},    {10, 27, 27}, {11, 33, 25}, {12, 320, 240},
                 {13, 320, 240}, {14, 320, 240}, {15, 320, 240}, {16, 31, 31}};
    for (const auto& s : sizes)
    {
        const TLibraryImage* image = library.FindImage(s.id);
        ASSERT_NE(image, nullptr) << s.id;
        ASSERT_NE(image->image, nullptr) << s.id;
        EXPECT_EQ(image->image->GetWidth(), s.width) << s.id;
        EXPECT_EQ(image->image->GetHeight(), s.height) << s.id;
    }
    TImageLibrary images;
    images.AddBuiltinImages(library);
    std::vector<int32_t> order;
    for (const auto& entry : images)
    {
        order.push_back(entry->id);
    }
    EXPECT_EQ(order, (std::vector<int32_t>{1, 2, 3, 16, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(images.FindImage(2)->name, u"ZZZ: Slider Composite");
}

} // namespace
