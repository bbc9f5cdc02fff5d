#include "DataStore.h"
#include "RecordBytes.h"

#include <gtest/gtest.h>

namespace
{

TEST(DataStore, GrowsInWholeStepsStrictlyAboveWhatIsNeeded)
{
    struct TCase
    {
        int32_t start; // bytes already written
        int32_t write; // then written at once
        int32_t capacity;
    };
    const TCase cases[] = {
        {0, 1, 4096}, {4095, 1, 4096}, {4096, 1, 8192}, {0, 4096, 8192}, {4090, 80, 8192}, {0, 12288, 16384},
    };
    for (const TCase& c : cases)
    {
        CDataStore store;
        EXPECT_EQ(store.GetData(), nullptr);
        std::vector<uint8_t> bytes(static_cast<size_t>(std::max(c.start, c.write)), 0x5A);
        store.WriteBytes(bytes.data(), static_cast<size_t>(c.start));
        store.WriteBytes(bytes.data(), static_cast<size_t>(c.write));
        EXPECT_EQ(store.GetCapacity(), c.capacity) << c.start << " + " << c.write;
        EXPECT_EQ(store.GetLength(), c.start + c.write);
    }
}

TEST(DataStore, IntsAndBytesAreLittleEndianAndRoundTrip)
{
    CDataStore out;
    out.WriteInt(-2);
    out.WriteInt(0x12345678);
    out.WriteByte(0xAB);
    EXPECT_EQ(out.CopyData(), CRecordBytes().Ints({-2, 0x12345678}).Raw({0xAB}).bytes);

    const auto bytes = out.CopyData();
    CDataStore in(bytes.data(), bytes.size());
    EXPECT_FALSE(in.IsStoring());
    EXPECT_EQ(in.ReadInt(), -2);
    in.SkipInt();
    EXPECT_EQ(in.ReadByte(), 0xAB);
    EXPECT_EQ(in.GetLength(), 9);
    EXPECT_FALSE(in.Failed());
}

TEST(DataStore, StringsStoreTheirCodeUnitCount)
{
    const struct
    {
        std::u16string text;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {u"", {0, 0, 0, 0}},
        {u"ON", {2, 0, 0, 0, 'O', 0, 'N', 0}},
        {u"\U0001F600", {2, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE}}, // a surrogate pair is two units
    };
    for (const auto& c : cases)
    {
        CDataStore out;
        out.WriteString(c.text);
        EXPECT_EQ(out.CopyData(), c.bytes);
        CDataStore in(c.bytes.data(), c.bytes.size());
        std::u16string read = u"old";
        EXPECT_TRUE(in.ReadString(read));
        EXPECT_EQ(read, c.text);
    }
}

TEST(DataStore, StringEndsAtItsFirstNulButThePositionPassesAllUnits)
{
    const auto bytes = CRecordBytes().Int(3).Raw({'A', 0, 0, 0, 'B', 0}).Int(7).bytes;
    CDataStore in(bytes.data(), bytes.size());
    std::u16string read;
    EXPECT_TRUE(in.ReadString(read));
    EXPECT_EQ(read, u"A");
    EXPECT_EQ(in.ReadInt(), 7);
}

// A read that would pass the data fails the stream, leaves its destination
// alone, and every later read fails too.
TEST(DataStore, ReadsNeverPassTheDataAndFailureSticks)
{
    const struct
    {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"count past the data", CRecordBytes().Int(100).Zeros(10).bytes},
        {"negative count", CRecordBytes().Int(-1).Zeros(10).bytes},
        {"count cut short", {1, 0, 0}},
    };
    for (const auto& c : cases)
    {
        CDataStore in(c.bytes.data(), c.bytes.size());
        std::u16string read = u"kept";
        EXPECT_FALSE(in.ReadString(read)) << c.name;
        EXPECT_EQ(read, u"kept") << c.name;
        EXPECT_TRUE(in.Failed()) << c.name;
        uint8_t byte = 9;
        EXPECT_FALSE(in.ReadBytes(&byte, 1)) << c.name;
        EXPECT_EQ(byte, 9) << c.name;
        EXPECT_EQ(in.ReadByte(), 0) << c.name;
        EXPECT_EQ(in.Remaining(), 0) << c.name;
    }

    // Three bytes are not an int, and a shorter read after the failure still fails.
    const uint8_t three[] = {1, 2, 3};
    CDataStore in(three, sizeof three);
    EXPECT_EQ(in.ReadInt(), 0);
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(in.ReadByte(), 0);
    EXPECT_EQ(in.GetLength(), 0);
}

TEST(DataStore, PositionCanBePresetInEitherDirection)
{
    CDataStore out;
    out.SetPosition(4);
    out.WriteInt(5);
    EXPECT_EQ(out.CopyData(), CRecordBytes().Ints({0, 5}).bytes);

    const auto bytes = CRecordBytes().Ints({0x0ABCDEF0, 42}).bytes;
    CDataStore in(bytes.data(), bytes.size());
    in.SetPosition(4);
    EXPECT_EQ(in.ReadInt(), 42);
    in.SetPosition(9);
    EXPECT_TRUE(in.Failed());
}

} // namespace
