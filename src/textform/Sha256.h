#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-256 as FIPS 180-4 defines it, for naming a picture by its bytes in
// the reading form of a layout. Feed it in pieces of any size.
class CSha256
{
public:
    using TDigest = std::array<uint8_t, 32>;

    CSha256();
    void Update(const void* data, size_t size);
    // The digest of everything fed; the hash starts over afterwards.
    TDigest Finish();

private:
    void Block(const uint8_t* block);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_buffer;
    size_t m_buffered = 0;
    uint64_t m_length = 0; // bytes fed
};

// The digest of a whole byte string as 64 lower-case hex digits.
std::string Sha256Hex(const void* data, size_t size);
