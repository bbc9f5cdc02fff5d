#include "TextField.h"
#include "DataStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace
{

// Sets QEL_CODEPAGE for one test and puts back what was there.
class CCodePageGuard
{
public:
    explicit CCodePageGuard(const char* codePage)
    {
        if (const char* old = std::getenv("QEL_CODEPAGE"))
        {
            m_old = old;
        }
        setenv("QEL_CODEPAGE", codePage, 1);
    }
    ~CCodePageGuard()
    {
        if (m_old)
        {
            setenv("QEL_CODEPAGE", m_old->c_str(), 1);
        }
        else
        {
            unsetenv("QEL_CODEPAGE");
        }
    }

private:
    std::optional<std::string> m_old;
};

std::string FieldText(const TTextField& field)
{
    return std::string(reinterpret_cast<const char*>(field.data()));
}

TEST(TextField, CodePageFollowsTheLocaleLikeWindows)
{
    const struct
    {
        const char* locale;
        const char* codePage;
    } cases[] = {
        {"zh_CN.UTF-8", "CP936"},
        {"zh_SG", "CP936"},
        {"zh_TW.UTF-8", "CP950"},
        {"zh_HK", "CP950"},
        {"ja_JP.UTF-8", "CP932"},
        {"ko_KR.EUC-KR", "CP949"},
        {"ru_RU.UTF-8", "CP1251"},
        {"uk_UA", "CP1251"},
        {"sr_RS", "CP1251"},
        {"sr_RS@latin", "CP1250"},
        {"pl_PL.UTF-8", "CP1250"},
        {"el_GR", "CP1253"},
        {"tr_TR", "CP1254"},
        {"he_IL", "CP1255"},
        {"ar_EG", "CP1256"},
        {"lt_LT", "CP1257"},
        {"vi_VN", "CP1258"},
        {"th_TH", "CP874"},
        {"de_DE.UTF-8@euro", "CP1252"},
        {"en_US.UTF-8", "CP1252"},
        {"C.UTF-8", "CP1252"},
        {"POSIX", "CP1252"},
        {"", "CP1252"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(CodePageForLocale(c.locale), c.codePage) << c.locale;
    }
}

TEST(TextField, QelCodePageOverridesTheLocale)
{
    {
        CCodePageGuard guard("1251");
        EXPECT_EQ(AnsiCodePage(), "CP1251");
        EXPECT_EQ(WideToAnsi(u"Да"), "\xC4\xE0");
    }
    {
        CCodePageGuard guard("cp936");
        EXPECT_EQ(AnsiCodePage(), "CP936");
    }
    {
        CCodePageGuard guard("NOT-A-CODE-PAGE");
        EXPECT_NE(AnsiCodePage(), "NOT-A-CODE-PAGE");
    }
}

TEST(TextField, ConvertsComposesAndReplacesWhatTheCodePageLacks)
{
    CCodePageGuard guard("CP1252");
    const struct
    {
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {u"Grüße", "Gr\xFC\xDF"
                   "e"},
        {u"e\u0301te\u0301", "\xE9t\xE9"}, // decomposed accents compose
        {u"\u20AC5", "\x80"
                     "5"},
        {u"a\u4E2Db", "a?b"},
        {u"\U0001F600", "?"}, // a surrogate pair is one character
        {u"\xD800x", "?x"},   // a lone surrogate too
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(WideToAnsi(c.text), c.bytes);
        EXPECT_EQ(FieldText(MakeTextField(c.text)), c.bytes);
    }
    TTextField field = MakeTextField(u"Grüße");
    EXPECT_EQ(TextFieldToWide(field), u"Grüße");
    // Bytes CP1252 leaves undefined come back as the C1 controls, as on Windows.
    EXPECT_EQ(AnsiToWide("\x81\x8D"), u"\u0081\u008D");
    EXPECT_EQ(AnsiToWide(std::string("ab\0cd", 5)), u"ab");
}

TEST(TextField, ComposesCommonSequences)
{
    const struct
    {
        std::u16string decomposed;
        std::u16string composed;
    } cases[] = {
        {u"A\u030A", u"\u00C5"},
        {u"c\u030Cesky\u0301", u"\u010Desk\u00FD"},
        {u"\u0435\u0308\u0438\u0306", u"\u0451\u0439"},
        {u"a\u0323\u0302", u"\u1EAD"},      // two marks in canonical order
        {u"\u1112\u1161\u11AB", u"\uD55C"}, // Hangul jamo
        {u"\u0301x", u"\u0301x"},           // nothing to attach to
        {u"q\u0301", u"q\u0301"},           // no precomposed form
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(ComposeText(c.decomposed), c.composed);
    }
}

TEST(TextField, LongTextIsCutAtACharacterBoundaryWithinSeventyNineBytes)
{
    const struct
    {
        const char* codePage;
        std::u16string text;
        size_t storedBytes;
    } cases[] = {
        {"CP1252", std::u16string(79, u'x'), 79},
        {"CP1252", std::u16string(200, u'x'), 79},
        {"CP936", std::u16string(40, u'\u4E2D'), 78}, // a 2-byte character would end at byte 80
        {"CP936", u"a" + std::u16string(40, u'\u4E2D'), 79},
        {"CP936", std::u16string(39, u'\u4E2D') + u"ab", 79},
    };
    for (const auto& c : cases)
    {
        CCodePageGuard guard(c.codePage);
        TTextField field;
        field.fill(0xEE);
        WideToTextField(c.text, field);
        const std::string stored = FieldText(field);
        EXPECT_EQ(stored.size(), c.storedBytes) << c.codePage;
        EXPECT_EQ(field[c.storedBytes], 0);
        const std::u16string back = TextFieldToWide(field);
        EXPECT_EQ(back, c.text.substr(0, back.size())) << "cut inside a character";
    }
}

TEST(TextField, MeasuresTheStoredFormBeforeStoring)
{
    const struct
    {
        const char* codePage;
        std::u16string text;
        size_t bytes;
        bool lossless;
        bool fits;
    } cases[] = {
        {"CP1252", u"Gr\u00FC\u00DFe", 5, true, true},
        {"CP1252", u"e\u0301", 1, true, true}, // counted as stored: composed
        {"CP1252", u"a?b", 3, true, true},     // a typed '?' is no loss
        {"CP1252", u"a\u4E2Db", 3, false, true},
        {"CP1252", std::u16string(79, u'x'), 79, true, true},
        {"CP1252", std::u16string(80, u'x'), 80, true, false},
        {"CP936", u"\u4E2D", 2, true, true},
        {"CP936", u"\U0001F600", 1, false, true},
        {"CP936", std::u16string(39, u'\u4E2D') + u"a", 79, true, true},
        {"CP936", std::u16string(40, u'\u4E2D'), 80, true, false},
    };
    for (const auto& c : cases)
    {
        CCodePageGuard guard(c.codePage);
        const TAnsiMeasure measure = MeasureAnsi(c.text);
        EXPECT_EQ(measure.bytes, c.bytes) << c.codePage << " " << WideToUtf8(c.text);
        EXPECT_EQ(measure.lossless, c.lossless) << c.codePage << " " << WideToUtf8(c.text);
        EXPECT_EQ(FitsTextField(c.text), c.fits) << c.codePage << " " << WideToUtf8(c.text);
        EXPECT_EQ(measure.bytes, WideToAnsi(c.text).size());
    }
}

TEST(TextField, ShortTextLeavesTheRestOfTheFieldAlone)
{
    CCodePageGuard guard("CP1252");
    TTextField field;
    field.fill('z');
    WideToTextField(u"ab", field);
    EXPECT_EQ(FieldText(field), "ab");
    EXPECT_EQ(field[3], 'z');
    EXPECT_EQ(MakeTextField(u"ab")[3], 0);
    // A field without any zero byte still reads, all 80 bytes of it.
    EXPECT_EQ(TextFieldToWide(field).size(), 2u);
    field.fill('z');
    EXPECT_EQ(TextFieldToWide(field), std::u16string(80, u'z'));
}

TEST(TextField, Utf8RoundTripAndMalformedInput)
{
    const std::u16string text = u"A\u00E9\u4E2D\U0001F600";
    EXPECT_EQ(WideToUtf8(text), "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    const struct
    {
        std::string bytes;
        std::u16string text;
    } malformed[] = {
        {"a\xFFz", u"a\uFFFDz"},
        {"\xC3", u"\uFFFD"},
        {"\xC0\xAF", u"\uFFFD"},     // overlong
        {"\xED\xA0\x80", u"\uFFFD"}, // a surrogate
        {"\xE4\xB8"
         "a",
         u"\uFFFDa"},
    };
    for (const auto& c : malformed)
    {
        EXPECT_EQ(Utf8ToWide(c.bytes), c.text);
    }
    EXPECT_EQ(WideToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
}

// Bytes the code page leaves undefined stand in the text as one unit each and
// are written back as themselves, in place, whatever was typed around them;
// only what was typed counts towards a loss.
TEST(TextField, UndefinedBytesComeBackAsThemselves)
{
    struct TCase
    {
        const char* codePage;
        std::string bytes;
        std::string kept; // beside each unit of the text
    };
    const TCase cases[] = {
        {"CP1252",
         "a\x81"
         "b\x8D\x8F\x90\x9D",
         std::string("\0\x81\0\x8D\x8F\x90\x9D", 7)},
        {"CP932", "x\xA0y\xFD", std::string("\0\xA0\0\xFD", 4)},
        {"CP936", "a\x81", std::string("\0\x81", 2)},
        {"CP1252", "plain \xE9t\xE9", std::string(9, '\0')},
    };
    for (const TCase& c : cases)
    {
        CCodePageGuard guard(c.codePage);
        TTextField field{};
        std::copy(c.bytes.begin(), c.bytes.end(), field.begin());
        TFieldText text = TextFieldToEditable(field);
        EXPECT_EQ(text.text, TextFieldToWide(field)) << c.codePage;
        EXPECT_EQ(text.kept, c.kept) << c.codePage;
        EXPECT_TRUE(IsLossless(text)) << c.codePage;
        TTextField back{};
        EditableToTextField(text, back);
        EXPECT_EQ(back, field) << c.codePage;

        // Typed in front: the kept bytes move along with their units.
        text.text.insert(0, u"Z");
        text.kept.insert(0, 1, '\0');
        EditableToTextField(text, back);
        EXPECT_EQ(FieldText(back), "Z" + c.bytes) << c.codePage;
    }

    CCodePageGuard guard("CP1252");
    const TFieldText typed{u"a\uFFFD\u0081", std::string(3, '\0')};
    EXPECT_FALSE(IsLossless(typed)) << "typed, they are characters CP1252 lacks";
    TTextField back{};
    EditableToTextField(typed, back);
    EXPECT_EQ(FieldText(back), "a??");

    // The field's limit holds with kept bytes as with any other.
    TFieldText full{std::u16string(78, u'x') + u"\u0081yz",
                    std::string(78, '\0') + "\x81" + std::string(2, '\0')};
    back.fill('q');
    EditableToTextField(full, back);
    EXPECT_EQ(FieldText(back), std::string(78, 'x') + "\x81");
}

} // namespace
