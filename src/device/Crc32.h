#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The common CRC-32 (reflected polynomial 0xEDB88320, initial and final
// inversion); "123456789" gives 0xCBF43926.
using TCrc32Table = std::array<uint32_t, 256>;

// The byte-wise lookup table of that CRC, for code that wants to step it itself.
TCrc32Table BuildCrc32Table();
uint32_t ComputeCrc32(const uint8_t* bytes, size_t length);
