#include "Crc32.h"

#include <algorithm>
#include <climits>
#include <zlib.h>

TCrc32Table BuildCrc32Table()
{
    TCrc32Table table{};
    const z_crc_t* zt = get_crc_table();
    std::copy(zt, zt + 256, table.begin());
    return table;
}

uint32_t ComputeCrc32(const uint8_t* bytes, size_t length)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    while (length > 0)
    {
        const uInt step = static_cast<uInt>(std::min<size_t>(length, UINT_MAX));
        crc = crc32(crc, bytes, step);
        bytes += step;
        length -= step;
    }
    return static_cast<uint32_t>(crc);
}
