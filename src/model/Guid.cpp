#include "Guid.h"

#include <cerrno>
#include <random>
#include <sys/random.h>

TGuid NewGuid()
{
    TGuid guid{};
    size_t filled = 0;
    while (filled < guid.size())
    {
        const ssize_t got = getrandom(guid.data() + filled, guid.size() - filled, 0);
        if (got > 0)
        {
            filled += static_cast<size_t>(got);
        }
        else if (got < 0 && errno != EINTR)
        {
            break;
        }
    }
    // Without the kernel's generator still give a GUID, just a weaker one.
    if (filled < guid.size())
    {
        std::random_device device;
        for (size_t i = filled; i < guid.size(); ++i)
        {
            guid[i] = static_cast<uint8_t>(device());
        }
    }
    guid[7] = static_cast<uint8_t>((guid[7] & 0x0F) | 0x40); // version 4, in the third field's top nibble
    guid[8] = static_cast<uint8_t>((guid[8] & 0x3F) | 0x80); // RFC 4122 variant
    return guid;
}

namespace
{

// The first three fields are little-endian, so their bytes are written backwards.
constexpr int kOrder[] = {3, 2, 1, 0, -1, 5, 4, -1, 7, 6, -1, 8, 9, -1, 10, 11, 12, 13, 14, 15};

} // namespace

std::string GuidToText(const TGuid& guid)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "{";
    for (int index : kOrder)
    {
        if (index < 0)
        {
            text += '-';
            continue;
        }
        text += kHex[guid[index] >> 4];
        text += kHex[guid[index] & 0x0F];
    }
    text += '}';
    return text;
}

bool GuidFromText(const std::string& text, TGuid& guid)
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return false;
    TGuid parsed{};
    size_t at = 1;
    for (int index : kOrder)
    {
        if (index < 0)
        {
            if (text[at++] != '-')
                return false;
            continue;
        }
        const int high = HexDigitValue(text[at]);
        const int low = HexDigitValue(text[at + 1]);
        if (high < 0 || low < 0)
            return false;
        parsed[static_cast<size_t>(index)] = static_cast<uint8_t>(high << 4 | low);
        at += 2;
    }
    guid = parsed;
    return true;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
