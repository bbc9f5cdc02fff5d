#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CDataStore;

// The fixed text field of button names, event texts and user events: text in
// the ANSI code page ended by a zero byte, so at most 79 bytes of text. All
// conversions between code-page bytes and wide text go through this file.
constexpr size_t kTextFieldSize = 80;
using TTextField = std::array<uint8_t, kTextFieldSize>;

// The iconv name of the ANSI code page: QEL_CODEPAGE ("CP1251" or "1251")
// when set and known to iconv, otherwise the code page Windows gives the
// locale in LC_ALL, LC_CTYPE or LANG, CP1252 by default.
std::string AnsiCodePage();
// The Windows code page of a locale name such as "ru_RU.UTF-8" ("CP1251").
std::string CodePageForLocale(std::string_view locale);

// The field's text up to its first zero byte (or all 80 bytes without one).
std::u16string TextFieldToWide(const TTextField& field);
// Writes the text, composed and converted, with its closing zero byte; text
// longer than 79 bytes is cut before the first character that does not fit.
// The bytes after the zero are left as they were, as the field's owner holds
// them.
void WideToTextField(std::u16string_view text, TTextField& field);
// The same into a field of zero bytes.
TTextField MakeTextField(std::u16string_view text);

// A field's text as an edit shows it, with the bytes the code page does not
// define kept: each stands in the text as one code unit (U+FFFD, or the C1
// control Windows gives CP1252's five gaps), and `kept` holds, unit for unit
// of the text, that byte, or 0 for a character of the text's own.
struct TFieldText
{
    std::u16string text;
    std::string kept;
};
TFieldText TextFieldToEditable(const TTextField& field);
// As WideToTextField, with each kept byte written as it was read.
void EditableToTextField(const TFieldText& text, TTextField& field);
// Whether every character besides the kept bytes has a form in the code page.
bool IsLossless(const TFieldText& text);

// What a text becomes in the code page: its length in bytes, composed, with
// each character the code page lacks counted as the one byte of '?', and
// whether every character has a form there.
struct TAnsiMeasure
{
    size_t bytes = 0;
    bool lossless = true;
};
TAnsiMeasure MeasureAnsi(std::u16string_view text);
// Whether the text fits a field whole, in at most 79 bytes.
bool FitsTextField(std::u16string_view text);

// Code-page bytes up to the first zero byte (or all of them) as wide text.
// Bytes the code page does not define become U+FFFD.
std::u16string AnsiToWide(std::string_view bytes);
// Wide text composed and converted; characters the code page lacks become '?'.
std::string WideToAnsi(std::u16string_view text);

// A version 1 name: an int32 count n (at most maxCount, within the data) and
// n code-page bytes that include the closing zero. A count out of range fails
// the stream and leaves the destination as it was.
bool ReadAnsiName(CDataStore& store, std::u16string& destination, int32_t maxCount);

// Composes the common combining sequences (Latin, Greek, Cyrillic and
// Vietnamese letters with their accents, and Hangul syllables) into
// precomposed characters, as NFC would for them.
std::u16string ComposeText(std::u16string_view text);

// UTF-8 for the command line; malformed input becomes U+FFFD.
std::string WideToUtf8(std::u16string_view text);
std::u16string Utf8ToWide(std::string_view text);
