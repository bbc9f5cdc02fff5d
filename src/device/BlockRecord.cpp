#include "BlockRecord.h"

#include "Crc32.h"

#include <algorithm>
#include <cstring>

void PutLe32(uint8_t* out, uint32_t value)
{
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 16);
    out[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t GetLe32(const uint8_t* in)
{
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
           static_cast<uint32_t>(in[3]) << 24;
}

TBlockRecord TBlockRecord::ForImage(const uint8_t* image, int32_t length, int32_t index)
{
    TBlockRecord r;
    r.index = index;
    r.count = BlockCountFor(length);
    const int64_t offset = static_cast<int64_t>(index) * kBlockDataSize;
    if (offset < length)
    {
        const int64_t n = std::min<int64_t>(kBlockDataSize, length - offset);
        std::memcpy(r.data.data(), image + offset, static_cast<size_t>(n));
    }
    r.crc = ComputeCrc32(r.data.data(), r.data.size());
    return r;
}

void TBlockRecord::Encode(uint8_t* out) const
{
    PutLe32(out, static_cast<uint32_t>(index));
    PutLe32(out + 4, static_cast<uint32_t>(count));
    PutLe32(out + 8, crc);
    std::memcpy(out + 12, data.data(), data.size());
}

TBlockRecord TBlockRecord::Decode(const uint8_t* in)
{
    TBlockRecord r;
    r.index = static_cast<int32_t>(GetLe32(in));
    r.count = static_cast<int32_t>(GetLe32(in + 4));
    r.crc = GetLe32(in + 8);
    std::memcpy(r.data.data(), in + 12, r.data.size());
    return r;
}

void TEndRecord::Encode(uint8_t* out) const
{
    PutLe32(out, static_cast<uint32_t>(lastIndex));
    PutLe32(out + 4, static_cast<uint32_t>(length));
    PutLe32(out + 8, crc);
}

TEndRecord TEndRecord::Decode(const uint8_t* in)
{
    return {static_cast<int32_t>(GetLe32(in)), static_cast<int32_t>(GetLe32(in + 4)), GetLe32(in + 8)};
}

void TBlockReplyHeader::Encode(uint8_t* out) const
{
    PutLe32(out, static_cast<uint32_t>(length));
    PutLe32(out + 4, crc);
}

TBlockReplyHeader TBlockReplyHeader::Decode(const uint8_t* in)
{
    return {static_cast<int32_t>(GetLe32(in)), GetLe32(in + 4)};
}
