#include "TextPicture.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace
{

constexpr const char* kDefaultFamily = "sans-serif";

struct TFontChoice
{
    std::string path;
    int index = 0;
    std::string family;
};

TFontChoice MatchFont(const std::string& family, bool bold)
{
    TFontChoice choice;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr)
        return choice;
    FcPattern* pattern = FcPatternCreate();
    const std::string wanted = family.empty() ? kDefaultFamily : family;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    // A family that is not installed still matches: fontconfig hands back
    // its nearest face, which is what the desktop would draw with too.
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match != nullptr)
    {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        {
            choice.path = reinterpret_cast<const char*>(file);
            int index = 0;
            if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
                choice.index = index;
            FcChar8* name = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
                choice.family = reinterpret_cast<const char*>(name);
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return choice;
}

// Loading fontconfig's configuration scans the font directories, so each
// answer is kept for the rest of the process.
TFontChoice FindFont(const std::string& family, bool bold)
{
    static std::mutex mutex;
    static std::map<std::pair<std::string, bool>, TFontChoice> found;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto key = std::make_pair(family, bold);
    auto at = found.find(key);
    if (at == found.end())
        at = found.emplace(key, MatchFont(family, bold)).first;
    return at->second;
}

// UTF-8 to code points; false on anything that is not well-formed UTF-8.
bool DecodeUtf8(const std::string& text, std::u32string& out)
{
    out.clear();
    size_t i = 0;
    while (i < text.size())
    {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (lead < 0x80)
        {
            c = lead;
        }
        else if (lead >= 0xC2 && lead < 0xE0)
        {
            extra = 1;
            c = lead & 0x1Fu;
            least = 0x80;
        }
        else if (lead >= 0xE0 && lead < 0xF0)
        {
            extra = 2;
            c = lead & 0x0Fu;
            least = 0x800;
        }
        else if (lead >= 0xF0 && lead < 0xF5)
        {
            extra = 3;
            c = lead & 0x07u;
            least = 0x10000;
        }
        else
        {
            return false;
        }
        if (static_cast<size_t>(extra) >= text.size() - i)
            return false;
        for (int k = 1; k <= extra; ++k)
        {
            const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            c = (c << 6) | (next & 0x3Fu);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        out.push_back(c);
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

// Lines of code points: CR LF, LF and a lone CR break lines, a tab is a
// space, and other control characters draw nothing.
std::vector<std::u32string> SplitLines(const std::u32string& text)
{
    std::vector<std::u32string> lines(1);
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char32_t c = text[i];
        if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
            continue;
        if (c == U'\n' || c == U'\r')
            lines.emplace_back();
        else if (c == U'\t')
            lines.back().push_back(U' ');
        else if (c >= 0x20 && c != 0x7F)
            lines.back().push_back(c);
    }
    return lines;
}

bool HasVisibleCharacter(const std::u32string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char32_t c) { return c > 0x20 && c != 0x7F && c != 0xA0; });
}

// One glyph as FreeType draws it: its coverage, where it sits against the
// pen and the baseline, and how far it moves the pen (26.6 fixed point).
struct TGlyphInk
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> pixels;
    FT_Pos advance = 0;
};

class CFont
{
public:
    CFont() = default;
    ~CFont()
    {
        if (m_face != nullptr)
            FT_Done_Face(m_face);
        if (m_library != nullptr)
            FT_Done_FreeType(m_library);
    }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    bool Open(const TFontChoice& choice, int32_t size, bool bold)
    {
        if (FT_Init_FreeType(&m_library) != 0)
        {
            m_library = nullptr;
            return false;
        }
        if (FT_New_Face(m_library, choice.path.c_str(), choice.index, &m_face) != 0)
        {
            m_face = nullptr;
            return false;
        }
        if (FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(size)) != 0)
            return false;
        // A family without a bold face is thickened, as the desktop does.
        m_embolden = bold && (m_face->style_flags & FT_STYLE_FLAG_BOLD) == 0;
        const FT_Size_Metrics& metrics = m_face->size->metrics;
        m_ascender = static_cast<int32_t>((metrics.ascender + 32) >> 6);
        m_lineHeight = static_cast<int32_t>((metrics.height + 32) >> 6);
        if (m_lineHeight <= 0)
            m_lineHeight = size;
        return true;
    }

    int32_t Ascender() const { return m_ascender; }
    int32_t LineHeight() const { return m_lineHeight; }
    FT_UInt Index(char32_t c) const { return FT_Get_Char_Index(m_face, c); }

    FT_Pos Kerning(FT_UInt left, FT_UInt right) const
    {
        if (left == 0 || !FT_HAS_KERNING(m_face))
            return 0;
        FT_Vector delta{0, 0};
        if (FT_Get_Kerning(m_face, left, right, FT_KERNING_DEFAULT, &delta) != 0)
            return 0;
        return delta.x;
    }

    // Pens stand on whole pixels, so a glyph looks the same wherever it
    // stands and is drawn once.
    const TGlyphInk& Glyph(FT_UInt index)
    {
        auto at = m_glyphs.find(index);
        if (at == m_glyphs.end())
            at = m_glyphs.emplace(index, Draw(index)).first;
        return at->second;
    }

private:
    TGlyphInk Draw(FT_UInt index) const
    {
        TGlyphInk ink;
        if (FT_Load_Glyph(m_face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) != 0)
            return ink;
        FT_GlyphSlot slot = m_face->glyph;
        ink.advance = slot->advance.x;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE && m_embolden)
        {
            const FT_Pos strength = FT_MulFix(m_face->units_per_EM, m_face->size->metrics.y_scale) / 24;
            FT_Outline_EmboldenXY(&slot->outline, strength, strength);
            ink.advance += strength;
        }
        if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
            return ink;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.buffer == nullptr || bitmap.width == 0 || bitmap.rows == 0)
            return ink;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
            return ink;
        ink.left = slot->bitmap_left;
        ink.top = slot->bitmap_top;
        ink.width = static_cast<int32_t>(bitmap.width);
        ink.rows = static_cast<int32_t>(bitmap.rows);
        ink.pixels.resize(static_cast<size_t>(ink.width) * ink.rows);
        const int32_t levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
        // A negative pitch means the rows are stored from the bottom up.
        const unsigned char* top = bitmap.pitch >= 0
                                       ? bitmap.buffer
                                       : bitmap.buffer + static_cast<ptrdiff_t>(ink.rows - 1) * -bitmap.pitch;
        for (int32_t row = 0; row < ink.rows; ++row)
        {
            const unsigned char* source = top + static_cast<ptrdiff_t>(row) * bitmap.pitch;
            for (int32_t column = 0; column < ink.width; ++column)
            {
                uint8_t value = 0;
                if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                    value = (source[column / 8] & (0x80 >> (column % 8))) != 0 ? 255 : 0;
                else
                    value = static_cast<uint8_t>(source[column] * 255 / levels);
                ink.pixels[static_cast<size_t>(row) * ink.width + column] = value;
            }
        }
        return ink;
    }

    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
    bool m_embolden = false;
    int32_t m_ascender = 0;
    int32_t m_lineHeight = 0;
    std::unordered_map<FT_UInt, TGlyphInk> m_glyphs;
};

struct TPlaced
{
    int32_t x = 0; // the pen's pixel, from the line's origin
    const TGlyphInk* ink = nullptr;
};

// A laid-out line: its glyphs, and the extent of pens and ink from the
// line's origin (left may be negative where a letter hangs over).
struct TLine
{
    std::vector<TPlaced> glyphs;
    int32_t left = 0;
    int32_t right = 0;

    int32_t Width() const { return right - left; }
};

TLine LayLine(CFont& font, const std::u32string& text)
{
    TLine line;
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    for (const char32_t c : text)
    {
        const FT_UInt index = font.Index(c);
        pen += font.Kerning(previous, index);
        previous = index;
        const TGlyphInk& ink = font.Glyph(index);
        const auto x = static_cast<int32_t>((pen + 32) >> 6);
        if (ink.width > 0)
        {
            line.left = std::min(line.left, x + ink.left);
            line.right = std::max(line.right, x + ink.left + ink.width);
        }
        line.glyphs.push_back({x, &ink});
        pen += ink.advance;
    }
    line.right = std::max(line.right, static_cast<int32_t>((pen + 63) >> 6));
    return line;
}

std::string Size(int64_t width, int64_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

// Lays one glyph's ink over the coverage, cut at the picture's edges.
void Stamp(TTextCoverage& result, const TGlyphInk& ink, int32_t left, int32_t top)
{
    const int32_t x0 = std::max(0, -left);
    const int32_t x1 = std::min(ink.width, result.width - left);
    const int32_t y0 = std::max(0, -top);
    const int32_t y1 = std::min(ink.rows, result.height - top);
    for (int32_t row = y0; row < y1; ++row)
    {
        const uint8_t* source = ink.pixels.data() + static_cast<size_t>(row) * ink.width;
        uint8_t* dest = result.coverage.data() + static_cast<size_t>(top + row) * result.width + left;
        for (int32_t column = x0; column < x1; ++column)
        {
            const int32_t a = source[column];
            // Overlapping letters add up as two layers of ink would.
            dest[column] = static_cast<uint8_t>(dest[column] + (a * (255 - dest[column]) + 127) / 255);
        }
    }
}

} // namespace

bool RenderTextPicture(const TTextPicture& picture, TTextCoverage& result, std::string& error)
{
    std::u32string text;
    if (!DecodeUtf8(picture.text, text))
    {
        error = "the text is not valid UTF-8";
        return false;
    }
    if (!HasVisibleCharacter(text))
    {
        error = "the text is empty";
        return false;
    }
    if (text.size() > kMaxTextLength)
    {
        error = "the text is longer than " + std::to_string(kMaxTextLength) + " characters";
        return false;
    }
    if (picture.size < 1 || picture.size > kMaxTextSize)
    {
        error = "the font size must be from 1 to " + std::to_string(kMaxTextSize) + " pixels";
        return false;
    }
    if (picture.padding < 0 || picture.padding > kMaxTextPadding)
    {
        error = "the padding must be from 0 to " + std::to_string(kMaxTextPadding) + " pixels";
        return false;
    }
    if (picture.width && (*picture.width < 1 || *picture.width > kMaxTextPictureWidth))
    {
        error = "the width must be from 1 to " + std::to_string(kMaxTextPictureWidth) + " pixels";
        return false;
    }
    if (picture.height && (*picture.height < 1 || *picture.height > kMaxTextPictureHeight))
    {
        error = "the height must be from 1 to " + std::to_string(kMaxTextPictureHeight) + " pixels";
        return false;
    }

    const TFontChoice choice = FindFont(picture.family, picture.bold);
    const std::string asked = picture.family.empty() ? kDefaultFamily : picture.family;
    if (choice.path.empty())
    {
        error = "fontconfig finds no font for \"" + asked + "\"";
        return false;
    }
    CFont font;
    if (!font.Open(choice, picture.size, picture.bold))
    {
        error = "cannot open the font " + choice.path;
        return false;
    }

    std::vector<TLine> lines;
    int32_t widest = 0;
    for (const std::u32string& line : SplitLines(text))
    {
        lines.push_back(LayLine(font, line));
        widest = std::max(widest, lines.back().Width());
    }
    const int32_t padding = picture.padding;
    const int64_t blockHeight = static_cast<int64_t>(lines.size()) * font.LineHeight();
    const int64_t neededWidth = std::max(widest, 1) + int64_t{2} * padding;
    const int64_t neededHeight = blockHeight + int64_t{2} * padding;
    const int64_t width = picture.width ? *picture.width : neededWidth;
    const int64_t height = picture.height ? *picture.height : neededHeight;
    if (width > kMaxTextPictureWidth || height > kMaxTextPictureHeight)
    {
        error = "the text needs " + Size(width, height) + " pixels; a picture may be at most " +
                Size(kMaxTextPictureWidth, kMaxTextPictureHeight);
        return false;
    }
    if (2 * padding >= width || 2 * padding >= height)
    {
        error = "a padding of " + std::to_string(padding) + " pixels leaves no room in a " +
                Size(width, height) + " picture";
        return false;
    }

    TTextCoverage drawn;
    drawn.width = static_cast<int32_t>(width);
    drawn.height = static_cast<int32_t>(height);
    drawn.coverage.assign(static_cast<size_t>(width) * height, 0);
    drawn.family = choice.family;
    const auto contentWidth = static_cast<int32_t>(width - 2 * padding);
    const auto contentHeight = static_cast<int32_t>(height - 2 * padding);
    const auto blockTop = static_cast<int32_t>(padding + (contentHeight - blockHeight) / 2);
    for (size_t i = 0; i < lines.size(); ++i)
    {
        const TLine& line = lines[i];
        int32_t origin = 0;
        switch (picture.align)
        {
        case ETextAlign::Left:
            origin = padding - line.left;
            break;
        case ETextAlign::Right:
            origin = drawn.width - padding - line.right;
            break;
        case ETextAlign::Centre:
            origin = padding + (contentWidth - line.Width()) / 2 - line.left;
            break;
        }
        const int32_t baseline = blockTop + static_cast<int32_t>(i) * font.LineHeight() + font.Ascender();
        for (const TPlaced& glyph : line.glyphs)
        {
            if (glyph.ink->width > 0)
                Stamp(drawn, *glyph.ink, origin + glyph.x + glyph.ink->left, baseline - glyph.ink->top);
        }
    }
    result = std::move(drawn);
    return true;
}

void DrawTextCoverage(const TTextCoverage& text, CRaster& dc, int32_t x, int32_t y, TColor colour)
{
    const TRect area = TRect64::OfSize(x, y, text.width, text.height).Intersect(dc.GetClip());
    if (area.IsEmpty())
        return;
    const int red = RedOf(colour);
    const int green = GreenOf(colour);
    const int blue = BlueOf(colour);
    for (int32_t py = area.top; py < area.bottom; ++py)
    {
        TColor* row = dc.Pixels() + static_cast<size_t>(py) * dc.Width();
        for (int32_t px = area.left; px < area.right; ++px)
        {
            const int a = text.At(px - x, py - y);
            if (a == 0)
                continue;
            const TColor under = row[px];
            const auto mix = [a](int below, int ink)
            { return static_cast<uint8_t>((below * (255 - a) + ink * a + 127) / 255); };
            row[px] = Rgb(mix(RedOf(under), red), mix(GreenOf(under), green), mix(BlueOf(under), blue));
        }
    }
}
