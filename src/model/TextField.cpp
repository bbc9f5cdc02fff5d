#include "TextField.h"

#include "DataStore.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <vector>

namespace
{
constexpr char16_t kReplacement = 0xFFFD;
constexpr char kDefaultChar = '?';

struct TComposition
{
    char16_t base;
    char16_t mark;
    char16_t composed;
};

// Canonical pairs whose result lies in Latin-1, Latin Extended-A, the
// Vietnamese letters, modern Greek or basic Cyrillic: what the Windows code
// pages can hold. Sorted by base, then mark.
constexpr TComposition kCompositions[] = {
    {0x0041, 0x0300, 0x00C0}, {0x0041, 0x0301, 0x00C1}, {0x0041, 0x0302, 0x00C2}, {0x0041, 0x0303, 0x00C3},
    {0x0041, 0x0304, 0x0100}, {0x0041, 0x0306, 0x0102}, {0x0041, 0x0308, 0x00C4}, {0x0041, 0x0309, 0x1EA2},
    {0x0041, 0x030A, 0x00C5}, {0x0041, 0x0323, 0x1EA0}, {0x0041, 0x0328, 0x0104}, {0x0043, 0x0301, 0x0106},
    {0x0043, 0x0302, 0x0108}, {0x0043, 0x0307, 0x010A}, {0x0043, 0x030C, 0x010C}, {0x0043, 0x0327, 0x00C7},
    {0x0044, 0x030C, 0x010E}, {0x0045, 0x0300, 0x00C8}, {0x0045, 0x0301, 0x00C9}, {0x0045, 0x0302, 0x00CA},
    {0x0045, 0x0303, 0x1EBC}, {0x0045, 0x0304, 0x0112}, {0x0045, 0x0306, 0x0114}, {0x0045, 0x0307, 0x0116},
    {0x0045, 0x0308, 0x00CB}, {0x0045, 0x0309, 0x1EBA}, {0x0045, 0x030C, 0x011A}, {0x0045, 0x0323, 0x1EB8},
    {0x0045, 0x0328, 0x0118}, {0x0047, 0x0302, 0x011C}, {0x0047, 0x0306, 0x011E}, {0x0047, 0x0307, 0x0120},
    {0x0047, 0x0327, 0x0122}, {0x0048, 0x0302, 0x0124}, {0x0049, 0x0300, 0x00CC}, {0x0049, 0x0301, 0x00CD},
    {0x0049, 0x0302, 0x00CE}, {0x0049, 0x0303, 0x0128}, {0x0049, 0x0304, 0x012A}, {0x0049, 0x0306, 0x012C},
    {0x0049, 0x0307, 0x0130}, {0x0049, 0x0308, 0x00CF}, {0x0049, 0x0309, 0x1EC8}, {0x0049, 0x0323, 0x1ECA},
    {0x0049, 0x0328, 0x012E}, {0x004A, 0x0302, 0x0134}, {0x004B, 0x0327, 0x0136}, {0x004C, 0x0301, 0x0139},
    {0x004C, 0x030C, 0x013D}, {0x004C, 0x0327, 0x013B}, {0x004E, 0x0301, 0x0143}, {0x004E, 0x0303, 0x00D1},
    {0x004E, 0x030C, 0x0147}, {0x004E, 0x0327, 0x0145}, {0x004F, 0x0300, 0x00D2}, {0x004F, 0x0301, 0x00D3},
    {0x004F, 0x0302, 0x00D4}, {0x004F, 0x0303, 0x00D5}, {0x004F, 0x0304, 0x014C}, {0x004F, 0x0306, 0x014E},
    {0x004F, 0x0308, 0x00D6}, {0x004F, 0x0309, 0x1ECE}, {0x004F, 0x030B, 0x0150}, {0x004F, 0x031B, 0x01A0},
    {0x004F, 0x0323, 0x1ECC}, {0x0052, 0x0301, 0x0154}, {0x0052, 0x030C, 0x0158}, {0x0052, 0x0327, 0x0156},
    {0x0053, 0x0301, 0x015A}, {0x0053, 0x0302, 0x015C}, {0x0053, 0x030C, 0x0160}, {0x0053, 0x0327, 0x015E},
    {0x0054, 0x030C, 0x0164}, {0x0054, 0x0327, 0x0162}, {0x0055, 0x0300, 0x00D9}, {0x0055, 0x0301, 0x00DA},
    {0x0055, 0x0302, 0x00DB}, {0x0055, 0x0303, 0x0168}, {0x0055, 0x0304, 0x016A}, {0x0055, 0x0306, 0x016C},
    {0x0055, 0x0308, 0x00DC}, {0x0055, 0x0309, 0x1EE6}, {0x0055, 0x030A, 0x016E}, {0x0055, 0x030B, 0x0170},
    {0x0055, 0x031B, 0x01AF}, {0x0055, 0x0323, 0x1EE4}, {0x0055, 0x0328, 0x0172}, {0x0057, 0x0302, 0x0174},
    {0x0059, 0x0300, 0x1EF2}, {0x0059, 0x0301, 0x00DD}, {0x0059, 0x0302, 0x0176}, {0x0059, 0x0303, 0x1EF8},
    {0x0059, 0x0308, 0x0178}, {0x0059, 0x0309, 0x1EF6}, {0x0059, 0x0323, 0x1EF4}, {0x005A, 0x0301, 0x0179},
    {0x005A, 0x0307, 0x017B}, {0x005A, 0x030C, 0x017D}, {0x0061, 0x0300, 0x00E0}, {0x0061, 0x0301, 0x00E1},
    {0x0061, 0x0302, 0x00E2}, {0x0061, 0x0303, 0x00E3}, {0x0061, 0x0304, 0x0101}, {0x0061, 0x0306, 0x0103},
    {0x0061, 0x0308, 0x00E4}, {0x0061, 0x0309, 0x1EA3}, {0x0061, 0x030A, 0x00E5}, {0x0061, 0x0323, 0x1EA1},
    {0x0061, 0x0328, 0x0105}, {0x0063, 0x0301, 0x0107}, {0x0063, 0x0302, 0x0109}, {0x0063, 0x0307, 0x010B},
    {0x0063, 0x030C, 0x010D}, {0x0063, 0x0327, 0x00E7}, {0x0064, 0x030C, 0x010F}, {0x0065, 0x0300, 0x00E8},
    {0x0065, 0x0301, 0x00E9}, {0x0065, 0x0302, 0x00EA}, {0x0065, 0x0303, 0x1EBD}, {0x0065, 0x0304, 0x0113},
    {0x0065, 0x0306, 0x0115}, {0x0065, 0x0307, 0x0117}, {0x0065, 0x0308, 0x00EB}, {0x0065, 0x0309, 0x1EBB},
    {0x0065, 0x030C, 0x011B}, {0x0065, 0x0323, 0x1EB9}, {0x0065, 0x0328, 0x0119}, {0x0067, 0x0302, 0x011D},
    {0x0067, 0x0306, 0x011F}, {0x0067, 0x0307, 0x0121}, {0x0067, 0x0327, 0x0123}, {0x0068, 0x0302, 0x0125},
    {0x0069, 0x0300, 0x00EC}, {0x0069, 0x0301, 0x00ED}, {0x0069, 0x0302, 0x00EE}, {0x0069, 0x0303, 0x0129},
    {0x0069, 0x0304, 0x012B}, {0x0069, 0x0306, 0x012D}, {0x0069, 0x0308, 0x00EF}, {0x0069, 0x0309, 0x1EC9},
    {0x0069, 0x0323, 0x1ECB}, {0x0069, 0x0328, 0x012F}, {0x006A, 0x0302, 0x0135}, {0x006B, 0x0327, 0x0137},
    {0x006C, 0x0301, 0x013A}, {0x006C, 0x030C, 0x013E}, {0x006C, 0x0327, 0x013C}, {0x006E, 0x0301, 0x0144},
    {0x006E, 0x0303, 0x00F1}, {0x006E, 0x030C, 0x0148}, {0x006E, 0x0327, 0x0146}, {0x006F, 0x0300, 0x00F2},
    {0x006F, 0x0301, 0x00F3}, {0x006F, 0x0302, 0x00F4}, {0x006F, 0x0303, 0x00F5}, {0x006F, 0x0304, 0x014D},
    {0x006F, 0x0306, 0x014F}, {0x006F, 0x0308, 0x00F6}, {0x006F, 0x0309, 0x1ECF}, {0x006F, 0x030B, 0x0151},
    {0x006F, 0x031B, 0x01A1}, {0x006F, 0x0323, 0x1ECD}, {0x0072, 0x0301, 0x0155}, {0x0072, 0x030C, 0x0159},
    {0x0072, 0x0327, 0x0157}, {0x0073, 0x0301, 0x015B}, {0x0073, 0x0302, 0x015D}, {0x0073, 0x030C, 0x0161},
    {0x0073, 0x0327, 0x015F}, {0x0074, 0x030C, 0x0165}, {0x0074, 0x0327, 0x0163}, {0x0075, 0x0300, 0x00F9},
    {0x0075, 0x0301, 0x00FA}, {0x0075, 0x0302, 0x00FB}, {0x0075, 0x0303, 0x0169}, {0x0075, 0x0304, 0x016B},
    {0x0075, 0x0306, 0x016D}, {0x0075, 0x0308, 0x00FC}, {0x0075, 0x0309, 0x1EE7}, {0x0075, 0x030A, 0x016F},
    {0x0075, 0x030B, 0x0171}, {0x0075, 0x031B, 0x01B0}, {0x0075, 0x0323, 0x1EE5}, {0x0075, 0x0328, 0x0173},
    {0x0077, 0x0302, 0x0175}, {0x0079, 0x0300, 0x1EF3}, {0x0079, 0x0301, 0x00FD}, {0x0079, 0x0302, 0x0177},
    {0x0079, 0x0303, 0x1EF9}, {0x0079, 0x0308, 0x00FF}, {0x0079, 0x0309, 0x1EF7}, {0x0079, 0x0323, 0x1EF5},
    {0x007A, 0x0301, 0x017A}, {0x007A, 0x0307, 0x017C}, {0x007A, 0x030C, 0x017E}, {0x00C2, 0x0300, 0x1EA6},
    {0x00C2, 0x0301, 0x1EA4}, {0x00C2, 0x0303, 0x1EAA}, {0x00C2, 0x0309, 0x1EA8}, {0x00CA, 0x0300, 0x1EC0},
    {0x00CA, 0x0301, 0x1EBE}, {0x00CA, 0x0303, 0x1EC4}, {0x00CA, 0x0309, 0x1EC2}, {0x00D4, 0x0300, 0x1ED2},
    {0x00D4, 0x0301, 0x1ED0}, {0x00D4, 0x0303, 0x1ED6}, {0x00D4, 0x0309, 0x1ED4}, {0x00E2, 0x0300, 0x1EA7},
    {0x00E2, 0x0301, 0x1EA5}, {0x00E2, 0x0303, 0x1EAB}, {0x00E2, 0x0309, 0x1EA9}, {0x00EA, 0x0300, 0x1EC1},
    {0x00EA, 0x0301, 0x1EBF}, {0x00EA, 0x0303, 0x1EC5}, {0x00EA, 0x0309, 0x1EC3}, {0x00F4, 0x0300, 0x1ED3},
    {0x00F4, 0x0301, 0x1ED1}, {0x00F4, 0x0303, 0x1ED7}, {0x00F4, 0x0309, 0x1ED5}, {0x0102, 0x0300, 0x1EB0},
    {0x0102, 0x0301, 0x1EAE}, {0x0102, 0x0303, 0x1EB4}, {0x0102, 0x0309, 0x1EB2}, {0x0103, 0x0300, 0x1EB1},
    {0x0103, 0x0301, 0x1EAF}, {0x0103, 0x0303, 0x1EB5}, {0x0103, 0x0309, 0x1EB3}, {0x01A0, 0x0300, 0x1EDC},
    {0x01A0, 0x0301, 0x1EDA}, {0x01A0, 0x0303, 0x1EE0}, {0x01A0, 0x0309, 0x1EDE}, {0x01A0, 0x0323, 0x1EE2},
    {0x01A1, 0x0300, 0x1EDD}, {0x01A1, 0x0301, 0x1EDB}, {0x01A1, 0x0303, 0x1EE1}, {0x01A1, 0x0309, 0x1EDF},
    {0x01A1, 0x0323, 0x1EE3}, {0x01AF, 0x0300, 0x1EEA}, {0x01AF, 0x0301, 0x1EE8}, {0x01AF, 0x0303, 0x1EEE},
    {0x01AF, 0x0309, 0x1EEC}, {0x01AF, 0x0323, 0x1EF0}, {0x01B0, 0x0300, 0x1EEB}, {0x01B0, 0x0301, 0x1EE9},
    {0x01B0, 0x0303, 0x1EEF}, {0x01B0, 0x0309, 0x1EED}, {0x01B0, 0x0323, 0x1EF1}, {0x0391, 0x0301, 0x0386},
    {0x0395, 0x0301, 0x0388}, {0x0397, 0x0301, 0x0389}, {0x0399, 0x0301, 0x038A}, {0x0399, 0x0308, 0x03AA},
    {0x039F, 0x0301, 0x038C}, {0x03A5, 0x0301, 0x038E}, {0x03A5, 0x0308, 0x03AB}, {0x03A9, 0x0301, 0x038F},
    {0x03B1, 0x0301, 0x03AC}, {0x03B5, 0x0301, 0x03AD}, {0x03B7, 0x0301, 0x03AE}, {0x03B9, 0x0301, 0x03AF},
    {0x03B9, 0x0308, 0x03CA}, {0x03BF, 0x0301, 0x03CC}, {0x03C5, 0x0301, 0x03CD}, {0x03C5, 0x0308, 0x03CB},
    {0x03C9, 0x0301, 0x03CE}, {0x03CA, 0x0301, 0x0390}, {0x03CB, 0x0301, 0x03B0}, {0x0406, 0x0308, 0x0407},
    {0x0413, 0x0301, 0x0403}, {0x0415, 0x0300, 0x0400}, {0x0415, 0x0308, 0x0401}, {0x0418, 0x0300, 0x040D},
    {0x0418, 0x0306, 0x0419}, {0x041A, 0x0301, 0x040C}, {0x0423, 0x0306, 0x040E}, {0x0433, 0x0301, 0x0453},
    {0x0435, 0x0300, 0x0450}, {0x0435, 0x0308, 0x0451}, {0x0438, 0x0300, 0x045D}, {0x0438, 0x0306, 0x0439},
    {0x043A, 0x0301, 0x045C}, {0x0443, 0x0306, 0x045E}, {0x0456, 0x0308, 0x0457}, {0x1EA0, 0x0302, 0x1EAC},
    {0x1EA0, 0x0306, 0x1EB6}, {0x1EA1, 0x0302, 0x1EAD}, {0x1EA1, 0x0306, 0x1EB7}, {0x1EB8, 0x0302, 0x1EC6},
    {0x1EB9, 0x0302, 0x1EC7}, {0x1ECC, 0x0302, 0x1ED8}, {0x1ECD, 0x0302, 0x1ED9},
};

class CConverter
{
public:
    CConverter(const std::string& to, const std::string& from) : m_cd(iconv_open(to.c_str(), from.c_str())) {}
    ~CConverter()
    {
        if (Valid())
        {
            iconv_close(m_cd);
        }
    }
    CConverter(const CConverter&) = delete;
    CConverter& operator=(const CConverter&) = delete;

    // iconv_open reports failure as (iconv_t)-1.
    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); } // NOLINT(performance-no-int-to-ptr)
    iconv_t Handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
    {
        if (c >= 'a' && c <= 'z')
        {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

bool KnownToIconv(const std::string& name)
{
    return CConverter(name, "UTF-16LE").Valid();
}

const char* EnvValue(const char* name)
{
    const char* value = std::getenv(name);
    return (value != nullptr && *value != '\0') ? value : nullptr;
}

bool IsHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// One character of the text as iconv input: 2 bytes, or 4 for a surrogate
// pair. Returns the number of code units taken.
size_t NextCharacter(std::u16string_view text, size_t i, std::u16string& unit)
{
    unit.assign(1, text[i]);
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
    {
        unit.push_back(text[i + 1]);
    }
    return unit.size();
}

// The code-page bytes of one character; '?' for what the code page lacks,
// which also clears converted.
std::string EncodeCharacter(CConverter& converter, const std::u16string& unit, bool latin1Fallback,
                            bool& converted)
{
    converted = false;
    if (!converter.Valid())
    {
        converted = latin1Fallback && unit.size() == 1 && unit[0] < 0x100;
        return std::string(1, converted ? static_cast<char>(unit[0]) : kDefaultChar);
    }
    if (unit.size() == 1 && (IsHighSurrogate(unit[0]) || IsLowSurrogate(unit[0])))
    {
        return std::string(1, kDefaultChar);
    }
    std::string input(unit.size() * 2, '\0');
    for (size_t i = 0; i < unit.size(); ++i)
    {
        input[2 * i] = static_cast<char>(unit[i] & 0xFF);
        input[2 * i + 1] = static_cast<char>(unit[i] >> 8);
    }
    char output[32];
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output;
    size_t outLeft = sizeof output;
    iconv(converter.Handle(), nullptr, nullptr, nullptr, nullptr);
    const size_t result = iconv(converter.Handle(), &in, &inLeft, &out, &outLeft);
    if (result == static_cast<size_t>(-1) || inLeft != 0)
    {
        return std::string(1, kDefaultChar);
    }
    // Flushes a converter that holds back a character to combine it.
    iconv(converter.Handle(), nullptr, nullptr, &out, &outLeft);
    std::string bytes(output, out);
    // Some converters answer an unmappable character with a substitute of
    // their own instead of an error; Windows writes the default character.
    if (bytes.empty())
    {
        return std::string(1, kDefaultChar);
    }
    converted = true;
    return bytes;
}

// Calls emit(bytes, converted) for each character of the composed text in
// turn; stops when emit returns false.
template <typename Emit> void EncodeText(std::u16string_view text, Emit emit)
{
    const std::string codePage = AnsiCodePage();
    CConverter converter(codePage, "UTF-16LE");
    const std::u16string composed = ComposeText(text);
    std::u16string unit;
    bool converted = false;
    for (size_t i = 0; i < composed.size();)
    {
        i += NextCharacter(composed, i, unit);
        const std::string bytes = EncodeCharacter(converter, unit, true, converted);
        if (!emit(bytes, converted))
        {
            return;
        }
    }
}

void AppendCodePoint(std::u16string& out, char32_t c)
{
    if (c >= 0x10000)
    {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
    else
    {
        out.push_back(static_cast<char16_t>(c));
    }
}
} // namespace

std::string CodePageForLocale(std::string_view locale)
{
    const size_t langEnd = locale.find_first_of("_.@");
    const std::string language = Upper(locale.substr(0, langEnd));
    std::string territory;
    if (langEnd != std::string_view::npos && locale[langEnd] == '_')
    {
        const std::string_view rest = locale.substr(langEnd + 1);
        territory = Upper(rest.substr(0, rest.find_first_of(".@")));
    }
    const size_t at = locale.find('@');
    const std::string modifier = at == std::string_view::npos ? std::string() : Upper(locale.substr(at + 1));

    struct TLanguage
    {
        const char* language;
        const char* codePage;
    };
    static constexpr TLanguage kLanguages[] = {
        {"JA", "CP932"},  {"KO", "CP949"},  {"RU", "CP1251"}, {"UK", "CP1251"}, {"BG", "CP1251"},
        {"BE", "CP1251"}, {"MK", "CP1251"}, {"PL", "CP1250"}, {"CS", "CP1250"}, {"SK", "CP1250"},
        {"HU", "CP1250"}, {"HR", "CP1250"}, {"SL", "CP1250"}, {"RO", "CP1250"}, {"BS", "CP1250"},
        {"EL", "CP1253"}, {"TR", "CP1254"}, {"HE", "CP1255"}, {"IW", "CP1255"}, {"AR", "CP1256"},
        {"FA", "CP1256"}, {"UR", "CP1256"}, {"LT", "CP1257"}, {"LV", "CP1257"}, {"ET", "CP1257"},
        {"VI", "CP1258"}, {"TH", "CP874"},
    };
    if (language == "ZH")
    {
        return (territory == "TW" || territory == "HK" || territory == "MO") ? "CP950" : "CP936";
    }
    if (language == "SR")
    {
        return modifier == "LATIN" ? "CP1250" : "CP1251";
    }
    for (const TLanguage& entry : kLanguages)
    {
        if (language == entry.language)
        {
            return entry.codePage;
        }
    }
    return "CP1252";
}

std::string AnsiCodePage()
{
    if (const char* forced = EnvValue("QEL_CODEPAGE"))
    {
        std::string name = Upper(forced);
        if (name.find_first_not_of("0123456789") == std::string::npos)
        {
            name = "CP" + name;
        }
        if (KnownToIconv(name))
        {
            return name;
        }
    }
    const char* locale = EnvValue("LC_ALL");
    if (locale == nullptr)
    {
        locale = EnvValue("LC_CTYPE");
    }
    if (locale == nullptr)
    {
        locale = EnvValue("LANG");
    }
    return CodePageForLocale(locale != nullptr ? locale : "");
}

namespace
{

// Code-page bytes as wide text; with `kept`, each byte the code page does not
// define is noted there against its code unit, 0 against the others.
std::u16string DecodeBytes(std::string_view bytes, std::string* kept)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::u16string text;
    const auto keep = [&](char byte)
    {
        if (kept != nullptr)
        {
            kept->resize(text.size() - 1, '\0');
            kept->push_back(byte);
        }
    };
    if (bytes.empty())
    {
        return text;
    }
    const std::string codePage = AnsiCodePage();
    CConverter converter("UTF-16LE", codePage);
    if (!converter.Valid())
    {
        for (char c : bytes)
        {
            text.push_back(static_cast<unsigned char>(c));
        }
        return text;
    }
    std::string input(bytes);
    std::vector<char> output(input.size() * 4 + 16);
    char* in = input.data();
    size_t inLeft = input.size();
    auto take = [&](const char* begin, const char* end)
    {
        for (const char* p = begin; p + 1 < end; p += 2)
        {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                                 (static_cast<unsigned char>(p[1]) << 8)));
        }
    };
    while (inLeft > 0)
    {
        char* out = output.data();
        size_t outLeft = output.size();
        const size_t result = iconv(converter.Handle(), &in, &inLeft, &out, &outLeft);
        take(output.data(), out);
        if (result != static_cast<size_t>(-1))
        {
            break;
        }
        if (errno == E2BIG)
        {
            continue;
        }
        // Windows keeps the five bytes CP1252 leaves undefined as the C1
        // controls of the same value.
        const auto byte = static_cast<unsigned char>(*in);
        const bool c1 = codePage == "CP1252" &&
                        (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D);
        text.push_back(c1 ? static_cast<char16_t>(byte) : kReplacement);
        keep(*in);
        ++in;
        --inLeft;
        iconv(converter.Handle(), nullptr, nullptr, nullptr, nullptr);
    }
    char* out = output.data();
    size_t outLeft = output.size();
    iconv(converter.Handle(), nullptr, nullptr, &out, &outLeft);
    take(output.data(), out);
    if (kept != nullptr)
    {
        kept->resize(text.size(), '\0');
    }
    return text;
}

// Calls run(part) for each stretch of the text between kept bytes and
// byte(b) for each kept byte, in order; stops when either returns false.
template <typename Run, typename Byte> void ForEachPart(const TFieldText& text, Run run, Byte byte)
{
    const std::u16string_view all(text.text);
    size_t start = 0;
    for (size_t i = 0; i < all.size(); ++i)
    {
        const char b = i < text.kept.size() ? text.kept[i] : '\0';
        if (b == '\0')
        {
            continue;
        }
        if (!run(all.substr(start, i - start)) || !byte(b))
        {
            return;
        }
        start = i + 1;
    }
    run(all.substr(start));
}

} // namespace

std::u16string AnsiToWide(std::string_view bytes)
{
    return DecodeBytes(bytes, nullptr);
}

TFieldText TextFieldToEditable(const TTextField& field)
{
    TFieldText text;
    text.text =
        DecodeBytes(std::string_view(reinterpret_cast<const char*>(field.data()), field.size()), &text.kept);
    return text;
}

void EditableToTextField(const TFieldText& text, TTextField& field)
{
    std::string bytes;
    bool full = false;
    const auto add = [&](const std::string& character)
    {
        full = bytes.size() + character.size() > kTextFieldSize - 1;
        if (!full)
        {
            bytes += character;
        }
        return !full;
    };
    ForEachPart(
        text,
        [&](std::u16string_view part)
        {
            EncodeText(part, [&](const std::string& character, bool) { return add(character); });
            return !full;
        },
        [&](char byte) { return add(std::string(1, byte)); });
    std::copy(bytes.begin(), bytes.end(), field.begin());
    field[bytes.size()] = 0;
}

bool IsLossless(const TFieldText& text)
{
    bool lossless = true;
    ForEachPart(
        text,
        [&](std::u16string_view part)
        {
            lossless = lossless && MeasureAnsi(part).lossless;
            return true;
        },
        [](char) { return true; });
    return lossless;
}

std::string WideToAnsi(std::u16string_view text)
{
    std::string bytes;
    EncodeText(text,
               [&](const std::string& character, bool)
               {
                   bytes += character;
                   return true;
               });
    return bytes;
}

TAnsiMeasure MeasureAnsi(std::u16string_view text)
{
    TAnsiMeasure measure;
    EncodeText(text,
               [&](const std::string& character, bool converted)
               {
                   measure.bytes += character.size();
                   measure.lossless = measure.lossless && converted;
                   return true;
               });
    return measure;
}

bool FitsTextField(std::u16string_view text)
{
    size_t bytes = 0;
    EncodeText(text,
               [&](const std::string& character, bool)
               {
                   bytes += character.size();
                   return bytes <= kTextFieldSize - 1;
               });
    return bytes <= kTextFieldSize - 1;
}

std::u16string TextFieldToWide(const TTextField& field)
{
    return AnsiToWide(std::string_view(reinterpret_cast<const char*>(field.data()), field.size()));
}

void WideToTextField(std::u16string_view text, TTextField& field)
{
    std::string bytes;
    EncodeText(text,
               [&](const std::string& character, bool)
               {
                   if (bytes.size() + character.size() > kTextFieldSize - 1)
                   {
                       return false;
                   }
                   bytes += character;
                   return true;
               });
    std::copy(bytes.begin(), bytes.end(), field.begin());
    field[bytes.size()] = 0;
}

TTextField MakeTextField(std::u16string_view text)
{
    TTextField field{};
    WideToTextField(text, field);
    return field;
}

bool ReadAnsiName(CDataStore& store, std::u16string& destination, int32_t maxCount)
{
    const int32_t count = store.ReadInt();
    if (store.Failed())
    {
        return false;
    }
    if (count < 0 || count > maxCount || count > store.Remaining())
    {
        store.Fail();
        return false;
    }
    std::string bytes(static_cast<size_t>(count), '\0');
    if (!store.ReadBytes(bytes.data(), bytes.size()))
    {
        return false;
    }
    destination = AnsiToWide(bytes);
    return true;
}

std::u16string ComposeText(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text)
    {
        if (!out.empty())
        {
            char16_t& last = out.back();
            // Hangul: leading consonant + vowel, then + trailing consonant.
            if (last >= 0x1100 && last <= 0x1112 && c >= 0x1161 && c <= 0x1175)
            {
                last = static_cast<char16_t>(0xAC00 + ((last - 0x1100) * 21 + (c - 0x1161)) * 28);
                continue;
            }
            if (last >= 0xAC00 && last <= 0xD7A3 && (last - 0xAC00) % 28 == 0 && c >= 0x11A8 && c <= 0x11C2)
            {
                last = static_cast<char16_t>(last + (c - 0x11A7));
                continue;
            }
            const auto found =
                std::lower_bound(std::begin(kCompositions), std::end(kCompositions), TComposition{last, c, 0},
                                 [](const TComposition& a, const TComposition& b)
                                 { return a.base != b.base ? a.base < b.base : a.mark < b.mark; });
            if (found != std::end(kCompositions) && found->base == last && found->mark == c)
            {
                last = found->composed;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

std::string WideToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        char32_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
        {
            c = kReplacement;
        }
        if (c < 0x80)
        {
            out.push_back(static_cast<char>(c));
        }
        else if (c < 0x800)
        {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
        else if (c < 0x10000)
        {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
        else
        {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string Utf8ToWide(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size())
    {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (lead < 0x80)
        {
            out.push_back(lead);
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0)
        {
            length = 2, c = lead & 0x1F, minimum = 0x80;
        }
        else if ((lead & 0xF0) == 0xE0)
        {
            length = 3, c = lead & 0x0F, minimum = 0x800;
        }
        else if ((lead & 0xF8) == 0xF0)
        {
            length = 4, c = lead & 0x07, minimum = 0x10000;
        }
        size_t taken = 1;
        bool valid = length != 0;
        while (valid && taken < length)
        {
            if (i + taken >= text.size() || (static_cast<unsigned char>(text[i + taken]) & 0xC0) != 0x80)
            {
                valid = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
            ++taken;
        }
        if (!valid || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        {
            out.push_back(kReplacement);
            i += valid ? taken : std::max<size_t>(taken, 1);
            continue;
        }
        AppendCodePoint(out, c);
        i += taken;
    }
    return out;
}
