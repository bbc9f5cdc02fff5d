#include "FieldText.h"

#include "Guid.h"

#include <algorithm>

namespace
{

constexpr char kHexDigits[] = "0123456789abcdef";

bool IsHigh(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLow(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsWellFormed(const std::u16string& text)
{
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1]))
            ++i;
        else if (IsHigh(text[i]) || IsLow(text[i]))
            return false;
    }
    return true;
}

bool ParseHex(const std::string& text, std::string& bytes)
{
    if (text.size() % 2 != 0)
        return false;
    std::string out;
    for (size_t i = 0; i < text.size(); i += 2)
    {
        const int high = HexDigitValue(text[i]);
        const int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high << 4 | low);
    }
    bytes = std::move(out);
    return true;
}

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

// The field a plain string makes, or the reason it cannot be made.
bool FieldFromWide(const std::u16string& text, TTextField& field, std::string& reason)
{
    if (text.find(u'\0') != std::u16string::npos)
    {
        reason = "holds a zero character, which would end the text there";
        return false;
    }
    const std::string bytes = WideToAnsi(text);
    if (AnsiToWide(bytes) != ComposeText(text))
    {
        reason = "holds characters that " + AnsiCodePage() + " cannot write";
        return false;
    }
    if (bytes.size() > kTextFieldSize - 1)
    {
        reason = "is " + std::to_string(bytes.size()) + " bytes in " + AnsiCodePage() + "; its field holds " +
                 std::to_string(kTextFieldSize - 1);
        return false;
    }
    field = TTextField{};
    std::copy(bytes.begin(), bytes.end(), field.begin());
    return true;
}

bool Refuse(TJsonProblem& problem, size_t offset, const std::string& message)
{
    problem = {offset, message};
    return false;
}

// An object form's members must all be known ones.
bool OnlyMembers(const TJsonValue& value, std::initializer_list<const char*> known, TJsonProblem& problem)
{
    for (size_t i = 0; i < value.keys.size(); ++i)
    {
        if (std::none_of(known.begin(), known.end(), [&](const char* k) { return value.keys[i] == k; }))
            return Refuse(problem, value.keyOffsets[i], "unknown member " + Quoted(value.keys[i]));
    }
    return true;
}

} // namespace

TOrderedJson WideJson(const std::u16string& text)
{
    if (IsWellFormed(text))
        return WideToUtf8(text);
    std::string hex;
    for (char16_t c : text)
    {
        for (int shift = 12; shift >= 0; shift -= 4)
            hex += kHexDigits[c >> shift & 0xF];
    }
    TOrderedJson form = TOrderedJson::object();
    form["utf16"] = hex;
    return form;
}

TOrderedJson TextFieldJson(const TTextField& field)
{
    const std::u16string text = TextFieldToWide(field);
    TTextField made{};
    std::string reason;
    if (FieldFromWide(text, made, reason) && made == field)
        return WideToUtf8(text);
    size_t used = field.size();
    while (used > 0 && field[used - 1] == 0)
        --used;
    std::string hex;
    for (size_t i = 0; i < used; ++i)
    {
        hex += kHexDigits[field[i] >> 4];
        hex += kHexDigits[field[i] & 0xF];
    }
    TOrderedJson form = TOrderedJson::object();
    form["text"] = WideToUtf8(text);
    form["bytes"] = hex;
    return form;
}

bool WideFromJson(const TJsonValue& value, const std::string& name, size_t keyOffset, std::u16string& text,
                  TJsonProblem& problem)
{
    if (value.kind == TJsonValue::EKind::String)
    {
        std::u16string wide = Utf8ToWide(value.text);
        if (wide.find(u'\0') != std::u16string::npos)
            return Refuse(problem, keyOffset,
                          Quoted(name) + " holds a zero character, which would end it there");
        text = std::move(wide);
        return true;
    }
    size_t unitsOffset = keyOffset;
    const TJsonValue* units =
        value.kind == TJsonValue::EKind::Object ? value.Find("utf16", &unitsOffset) : nullptr;
    if (units == nullptr)
        return Refuse(problem, keyOffset, Quoted(name) + " must be a string");
    if (!OnlyMembers(value, {"utf16"}, problem))
        return false;
    std::string bytes;
    if (units->kind != TJsonValue::EKind::String || units->text.size() % 4 != 0 ||
        !ParseHex(units->text, bytes))
        return Refuse(problem, unitsOffset, "\"utf16\" must be hex digits, four for each UTF-16 code unit");
    std::u16string wide;
    for (size_t i = 0; i < bytes.size(); i += 2)
    {
        const auto c =
            static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) << 8 | static_cast<uint8_t>(bytes[i + 1]));
        if (c == 0)
            return Refuse(problem, unitsOffset,
                          "\"utf16\" holds a zero code unit, which would end the text there");
        wide += c;
    }
    text = std::move(wide);
    return true;
}

bool TextFieldFromJson(const TJsonValue& value, const std::string& name, size_t keyOffset, TTextField& field,
                       TJsonProblem& problem)
{
    if (value.kind == TJsonValue::EKind::String)
    {
        std::string reason;
        if (!FieldFromWide(Utf8ToWide(value.text), field, reason))
            return Refuse(problem, keyOffset, Quoted(name) + " " + reason);
        return true;
    }
    if (value.kind != TJsonValue::EKind::Object)
        return Refuse(problem, keyOffset, Quoted(name) + " must be a string");
    if (!OnlyMembers(value, {"text", "bytes"}, problem))
        return false;
    size_t bytesOffset = keyOffset;
    size_t textOffset = keyOffset;
    const TJsonValue* bytes = value.Find("bytes", &bytesOffset);
    const TJsonValue* text = value.Find("text", &textOffset);
    if (text != nullptr && text->kind != TJsonValue::EKind::String)
        return Refuse(problem, textOffset, "\"text\" must be a string");
    if (bytes == nullptr)
    {
        if (text == nullptr)
            return Refuse(problem, keyOffset, Quoted(name) + " needs \"text\" or \"bytes\"");
        return TextFieldFromJson(*text, "text", textOffset, field, problem);
    }
    std::string raw;
    if (bytes->kind != TJsonValue::EKind::String || !ParseHex(bytes->text, raw))
        return Refuse(problem, bytesOffset, "\"bytes\" must be hex digits, two for each byte");
    if (raw.size() > kTextFieldSize)
        return Refuse(problem, bytesOffset,
                      "\"bytes\" holds " + std::to_string(raw.size()) + " bytes; the field holds " +
                          std::to_string(kTextFieldSize));
    TTextField made{};
    std::copy(raw.begin(), raw.end(), made.begin());
    if (text != nullptr && Utf8ToWide(text->text) != TextFieldToWide(made))
        return Refuse(problem, textOffset,
                      "\"text\" is not what \"bytes\" holds; to change the text, remove \"bytes\"");
    field = made;
    return true;
}
