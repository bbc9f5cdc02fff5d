#include "ReportText.h"

#include "TextField.h"

#include <cstdio>
#include <string_view>

std::string GroupedDigits(int64_t n)
{
    const std::string digits = std::to_string(n);
    const size_t first = (n < 0) ? 1 : 0;
    std::string out = digits.substr(0, first);
    for (size_t i = first; i < digits.size(); ++i)
    {
        if (i > first && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::string PrintableName(const std::u16string& text)
{
    std::string out;
    size_t from = 0;
    for (size_t i = 0; i <= text.size(); ++i)
    {
        if (i < text.size() && text[i] >= 32 && text[i] != 127)
            continue;
        out += WideToUtf8(std::u16string_view(text).substr(from, i - from));
        if (i < text.size())
        {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(text[i]));
            out += escape;
        }
        from = i + 1;
    }
    return out;
}
