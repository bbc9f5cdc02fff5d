#include "LabelWords.h"

#include <array>
#include <cctype>
#include <utility>

bool ParseLabelColour(const std::string& text, TColor& colour)
{
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (digits.size() != 6)
        return false;
    uint32_t value = 0;
    for (const char c : digits)
    {
        if (std::isxdigit(static_cast<unsigned char>(c)) == 0)
            return false;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) != 0
                              ? c - '0'
                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    colour =
        Rgb(static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value));
    return true;
}

bool ParseTextAlign(const std::string& text, ETextAlign& align)
{
    if (text == "left")
        align = ETextAlign::Left;
    else if (text == "centre" || text == "center")
        align = ETextAlign::Centre;
    else if (text == "right")
        align = ETextAlign::Right;
    else
        return false;
    return true;
}

bool ParseLabelBackground(const std::string& text, TUserFace& background)
{
    if (text == "none")
    {
        background = TUserFace{};
        return true;
    }
    TColor colour = 0;
    if (!ParseLabelColour(text, colour))
        return false;
    background = TUserFace{kFaceColour, kColourSingle, 0, colour, 0};
    return true;
}

bool ParseLabelGradient(const std::string& text, TUserFace& background)
{
    static const std::array<std::pair<const char*, int32_t>, 3> kModes = {{
        {"left-to-right", kColourLeftToRight},
        {"top-to-bottom", kColourTopToBottom},
        {"radial", kColourRadial},
    }};
    const size_t first = text.find(',');
    const size_t second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos)
        return false;
    const std::string mode = text.substr(0, first);
    TColor from = 0;
    TColor to = 0;
    if (!ParseLabelColour(text.substr(first + 1, second - first - 1), from) ||
        !ParseLabelColour(text.substr(second + 1), to))
        return false;
    for (const auto& [name, code] : kModes)
    {
        if (mode == name)
        {
            background = TUserFace{kFaceColour, code, 0, from, to};
            return true;
        }
    }
    return false;
}

std::string LineBreaksFromEscapes(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n')
        {
            out += '\n';
            ++i;
        }
        else
        {
            out += text[i];
        }
    }
    return out;
}
