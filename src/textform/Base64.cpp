#include "Base64.h"

namespace
{

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Sextet(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

std::string EncodeBase64(const uint8_t* data, size_t size)
{
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (size_t i = 0; i < size; i += 3)
    {
        const uint32_t a = data[i];
        const uint32_t b = i + 1 < size ? data[i + 1] : 0;
        const uint32_t c = i + 2 < size ? data[i + 2] : 0;
        const uint32_t triple = a << 16 | b << 8 | c;
        out += kAlphabet[triple >> 18 & 63];
        out += kAlphabet[triple >> 12 & 63];
        out += i + 1 < size ? kAlphabet[triple >> 6 & 63] : '=';
        out += i + 2 < size ? kAlphabet[triple & 63] : '=';
    }
    return out;
}

bool DecodeBase64(const std::string& text, std::vector<uint8_t>& bytes)
{
    if (text.size() % 4 != 0)
        return false;
    std::vector<uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4)
    {
        const bool last = i + 4 == text.size();
        const int padding = last ? (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=') : 0;
        int s[4];
        for (int k = 0; k < 4; ++k)
        {
            s[k] = k >= 4 - padding ? 0 : Sextet(text[i + static_cast<size_t>(k)]);
            if (s[k] < 0)
                return false;
        }
        const uint32_t triple = static_cast<uint32_t>(s[0] << 18 | s[1] << 12 | s[2] << 6 | s[3]);
        // Bits that padding leaves over must be zero, so each text has one meaning.
        if ((padding == 1 && (triple & 0xFF) != 0) || (padding == 2 && (triple & 0xFFFF) != 0))
            return false;
        out.push_back(static_cast<uint8_t>(triple >> 16));
        if (padding < 2)
            out.push_back(static_cast<uint8_t>(triple >> 8));
        if (padding < 1)
            out.push_back(static_cast<uint8_t>(triple));
    }
    bytes = std::move(out);
    return true;
}
