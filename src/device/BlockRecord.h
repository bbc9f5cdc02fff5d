#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The binary records of block transfers, written and read field by field,
// little-endian.

constexpr int32_t kBlockDataSize = 1000;

// One outbound block: index, block count, CRC-32 of the 1000 data bytes, data.
struct TBlockRecord
{
    static constexpr size_t kSize = 12 + kBlockDataSize;

    int32_t index = 0;
    int32_t count = 0;
    uint32_t crc = 0;
    std::array<uint8_t, kBlockDataSize> data{};

    // Fills the record with the image's block at index; bytes beyond the image are zero.
    static TBlockRecord ForImage(const uint8_t* image, int32_t length, int32_t index);
    void Encode(uint8_t* out) const;
    static TBlockRecord Decode(const uint8_t* in);
};

// Closes an outbound transfer: the last block's index, the image length and its CRC-32.
struct TEndRecord
{
    static constexpr size_t kSize = 12;

    int32_t lastIndex = 0;
    int32_t length = 0;
    uint32_t crc = 0;

    void Encode(uint8_t* out) const;
    static TEndRecord Decode(const uint8_t* in);
};

// Precedes each block of a download: B data bytes follow, with their CRC-32.
struct TBlockReplyHeader
{
    static constexpr size_t kSize = 8;

    int32_t length = 0;
    uint32_t crc = 0;

    void Encode(uint8_t* out) const;
    static TBlockReplyHeader Decode(const uint8_t* in);
};

// Number of blocks an outbound image of length bytes travels in: a last block
// always starts at or beyond the end of the image.
constexpr int32_t BlockCountFor(int32_t length)
{
    return length / kBlockDataSize + 1;
}

void PutLe32(uint8_t* out, uint32_t value);
uint32_t GetLe32(const uint8_t* in);
