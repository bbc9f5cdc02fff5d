#include "ByteStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

TEST(MemoryStream, GrowsWhileWrittenAndDetachesItsBlock)
{
    CMemoryStream stream;
    std::vector<uint8_t> data(10000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 31);
    EXPECT_EQ(stream.Write(data.data(), 3), 3u);
    EXPECT_EQ(stream.Write(data.data() + 3, data.size() - 3), data.size() - 3);
    EXPECT_EQ(stream.Size(), 10000);
    // Overwriting in the middle does not change the length.
    ASSERT_TRUE(stream.Seek(2));
    const uint8_t patch[2] = {0xAA, 0xBB};
    EXPECT_EQ(stream.Write(patch, 2), 2u);
    EXPECT_EQ(stream.Size(), 10000);
    EXPECT_FALSE(stream.Seek(10001));
    EXPECT_FALSE(stream.Seek(-1));

    size_t size = 0;
    uint8_t* block = stream.Detach(&size);
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(size, 10000u);
    data[2] = 0xAA;
    data[3] = 0xBB;
    EXPECT_EQ(std::memcmp(block, data.data(), size), 0);
    std::free(block);
    EXPECT_EQ(stream.Size(), 0);
}

TEST(MemoryStream, ReadsBorrowedBytesWithoutGoingPastTheEnd)
{
    const uint8_t bytes[5] = {1, 2, 3, 4, 5};
    CMemoryStream stream(bytes, sizeof bytes);
    uint8_t out[8] = {};
    EXPECT_EQ(stream.Read(out, 3), 3u);
    EXPECT_EQ(stream.Read(out + 3, 8), 2u);
    EXPECT_EQ(stream.Read(out, 1), 0u);
    EXPECT_EQ(out[4], 5);
    EXPECT_EQ(stream.Write(bytes, 1), 0u); // borrowed bytes are never written
    size_t size = 99;
    EXPECT_EQ(stream.Detach(&size), nullptr);
    EXPECT_EQ(size, 0u);
    ASSERT_TRUE(stream.Seek(5));
    EXPECT_EQ(stream.Read(out, 1), 0u);
}

TEST(FileStream, ReadsWritesAndKnowsItsSize)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    CFileStream stream(file);
    EXPECT_EQ(stream.Write("abcdef", 6), 6u);
    EXPECT_EQ(stream.Size(), 6);
    EXPECT_EQ(stream.Tell(), 6);
    ASSERT_TRUE(stream.Seek(4));
    char out[4] = {};
    EXPECT_EQ(stream.Read(out, 4), 2u);
    EXPECT_STREQ(out, "ef");
    std::fclose(file);
}

} // namespace
