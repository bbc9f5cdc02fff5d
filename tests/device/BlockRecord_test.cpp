#include "BlockRecord.h"
#include "Crc32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

TEST(Crc32, CheckValueAndTable)
{
    const char* check = "123456789";
    EXPECT_EQ(ComputeCrc32(reinterpret_cast<const uint8_t*>(check), 9), 0xCBF43926u);
    EXPECT_EQ(ComputeCrc32(nullptr, 0), 0u);

    // Stepping the table byte by byte gives the same CRC as the library.
    const TCrc32Table table = BuildCrc32Table();
    uint32_t crc = 0xFFFFFFFFu;
    for (int i = 0; i < 9; ++i)
        crc = (crc >> 8) ^ table[(crc ^ static_cast<uint8_t>(check[i])) & 0xFF];
    EXPECT_EQ(~crc, 0xCBF43926u);
}

TEST(BlockRecord, LastBlockIsPaddedAndItsCrcCoversThePadding)
{
    std::vector<uint8_t> image(1500);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 13 + 5);

    const TBlockRecord r = TBlockRecord::ForImage(image.data(), 1500, 1);
    uint8_t wire[TBlockRecord::kSize];
    r.Encode(wire);
    const uint8_t head[12] = {1, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(std::memcmp(wire, head, 8), 0);
    EXPECT_EQ(GetLe32(wire + 8), ComputeCrc32(wire + 12, 1000));
    EXPECT_EQ(std::memcmp(wire + 12, image.data() + 1000, 500), 0);
    for (int i = 500; i < 1000; ++i)
        ASSERT_EQ(wire[12 + i], 0) << i;

    const TBlockRecord back = TBlockRecord::Decode(wire);
    EXPECT_EQ(back.index, 1);
    EXPECT_EQ(back.count, 2);
    EXPECT_EQ(back.crc, r.crc);
    EXPECT_EQ(back.data, r.data);
}

TEST(BlockRecord, CountsAndSmallRecordsOnTheWire)
{
    struct
    {
        int32_t length;
        int32_t blocks;
    } const cases[] = {{0, 1}, {999, 1}, {1000, 2}, {1500, 2}, {2000, 3}, {19500, 20}};
    for (const auto& c : cases)
        EXPECT_EQ(BlockCountFor(c.length), c.blocks) << c.length;

    uint8_t end[TEndRecord::kSize];
    TEndRecord{1, 1500, 0xCBF43926u}.Encode(end);
    const uint8_t expected[12] = {1, 0, 0, 0, 0xDC, 0x05, 0, 0, 0x26, 0x39, 0xF4, 0xCB};
    EXPECT_EQ(std::memcmp(end, expected, 12), 0);

    const uint8_t header[8] = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4};
    const TBlockReplyHeader h = TBlockReplyHeader::Decode(header);
    EXPECT_EQ(h.length, -1);
    EXPECT_EQ(h.crc, 0x04030201u);
}
