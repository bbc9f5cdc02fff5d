#include "DataStore.h"
#include "Glyph.h"
#include "RecordBytes.h"

#include <gtest/gtest.h>

namespace
{

TEST(GlyphRecord, StoresRowBytesTimesHeightOfBits)
{
    const struct
    {
        uint8_t width, height;
        size_t recordSize;
    } cases[] = {{5, 2, 21}, {0, 7, 17}, {6, 0, 17}, {4, 3, 20}, {255, 255, 17 + 64 * 255}};
    for (const auto& c : cases)
    {
        TGlyph glyph;
        glyph.cell = 22;
        glyph.character = 0x4E2D;
        glyph.width = c.width;
        glyph.height = c.height;
        glyph.left = 1;
        glyph.top = 2;
        glyph.advance = 9;
        glyph.bits.assign(static_cast<size_t>(glyph.RowBytes()) * c.height, 0xE4);
        const auto bytes = Stored(glyph);
        ASSERT_EQ(bytes.size(), c.recordSize);

        CDataStore in(bytes.data(), bytes.size());
        TGlyph read;
        read.Serialize(in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(read.bits, glyph.bits);
        EXPECT_EQ(Stored(read), bytes);
    }
}

TEST(GlyphRecord, FieldOrderAndShortBitmapPadding)
{
    TGlyph glyph;
    glyph.cell = 35;
    glyph.character = 0xE9;
    glyph.width = 5;
    glyph.height = 2;
    glyph.left = 3;
    glyph.top = 4;
    glyph.advance = 6;
    glyph.bits = {0xE4, 0xC0}; // one row where two are due
    EXPECT_EQ(Stored(glyph), CRecordBytes().Ints({1, 35, 0xE9}).Raw({5, 2, 3, 4, 6, 0xE4, 0xC0, 0, 0}).bytes);
}

TEST(GlyphRecord, BitsPastTheDataFailAndKeepTheOldBits)
{
    const auto bytes = CRecordBytes().Ints({1, 22, 0x4E2D}).Raw({8, 8, 0, 0, 8}).Zeros(15).bytes;
    CDataStore in(bytes.data(), bytes.size());
    TGlyph read;
    read.bits = {1, 2};
    read.Serialize(in);
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(read.bits, (std::vector<uint8_t>{1, 2}));
}

} // namespace
