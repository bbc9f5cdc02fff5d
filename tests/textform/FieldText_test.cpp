// The forms a layout's texts take in its JSON: a plain string when one
// carries the text exactly, an object form when none does.

#include "FieldText.h"

#include "CodePageGuard.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// The member "x" of a JSON text, read back by one of the readers.
template <typename T, typename Read>
std::string ReadMember(const std::string& json, Read read, T& destination)
{
    TJsonValue root;
    TJsonProblem problem;
    if (!ParseJsonText(json, root, problem))
        return "not JSON: " + problem.message;
    size_t at = 0;
    const TJsonValue* member = root.Find("x", &at);
    if (member == nullptr)
        return "no member x";
    if (!read(*member, "x", at, destination, problem))
        return LineColumn(json, problem.offset) + ": " + problem.message;
    return "";
}

std::string Member(const TOrderedJson& value)
{
    return "{\"x\": " + PrintJson(value) + "}";
}

TTextField Field(std::initializer_list<uint8_t> bytes)
{
    TTextField field{};
    std::copy(bytes.begin(), bytes.end(), field.begin());
    return field;
}

} // namespace

TEST(FieldText, WideTextsAreStringsUnlessALoneSurrogateNeedsTheirCodeUnits)
{
    const struct
    {
        std::u16string text;
        std::string json;
    } cases[] = {
        {u"", "\"\""},
        {u"Caf\u00e9 \u4e2d", "\"Caf\u00e9 \u4e2d\""},
        {u"\U0001F600", "\"\U0001F600\""}, // a pair is one character
        {std::u16string(u"X") + char16_t(0xD800), "{\"utf16\": \"0058d800\"}"},
        {std::u16string(1, char16_t(0xDC00)) + u"A", "{\"utf16\": \"dc000041\"}"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(PrintJson(WideJson(c.text)), c.json);
        std::u16string back = u"old";
        EXPECT_EQ(ReadMember(Member(WideJson(c.text)), WideFromJson, back), "") << c.json;
        EXPECT_EQ(back, c.text) << c.json;
    }
}

TEST(FieldText, FieldsAreStringsUnlessTheirBytesSaySomethingElse)
{
    const CCodePageGuard codePage("1252");
    TTextField leftover = MakeTextField(u"Hello");
    WideToTextField(u"Hi", leftover);
    TTextField full{};
    full.fill('U');
    const struct
    {
        TTextField field;
        std::string json;
    } cases[] = {
        {TTextField{}, "\"\""},
        {MakeTextField(u"VOL STOP \u00e9"), "\"VOL STOP \u00e9\""},
        {MakeTextField(std::u16string(79, u't')), "\"" + std::string(79, 't') + "\""},
        // Bytes after the closing zero, and a field with none.
        {leftover, "{\"text\": \"Hi\", \"bytes\": \"4869006c6f\"}"},
        {full, "{\"text\": \"" + std::string(80, 'U') + "\", \"bytes\": \"" + std::string(160, '5') + "\"}"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(PrintJson(TextFieldJson(c.field)), c.json);
        TTextField back = MakeTextField(u"old");
        EXPECT_EQ(ReadMember(Member(TextFieldJson(c.field)), TextFieldFromJson, back), "") << c.json;
        EXPECT_EQ(back, c.field) << c.json;
    }

    // A byte the code page does not define comes back as it was.
    const TTextField undefined = Field({'A', 0x81, 'B'});
    const TOrderedJson form = TextFieldJson(undefined);
    ASSERT_TRUE(form.is_object());
    EXPECT_EQ(form["bytes"], "418142");
    TTextField back{};
    EXPECT_EQ(ReadMember(Member(form), TextFieldFromJson, back), "");
    EXPECT_EQ(back, undefined);

    // A hand-written object may give the text alone, or the bytes alone.
    EXPECT_EQ(ReadMember(R"({"x": {"text": "ON"}})", TextFieldFromJson, back), "");
    EXPECT_EQ(back, MakeTextField(u"ON"));
    EXPECT_EQ(ReadMember(R"({"x": {"bytes": "4f4646"}})", TextFieldFromJson, back), "");
    EXPECT_EQ(back, MakeTextField(u"OFF"));
}

TEST(FieldText, WhatAFieldCannotHoldIsRefusedAtItsMember)
{
    const CCodePageGuard codePage("1252");
    const struct
    {
        std::string json;
        std::string message;
    } fields[] = {
        {"{\"x\": \"" + std::string(80, 'a') + "\"}", "1:2: \"x\" is 80 bytes in CP1252; its field holds 79"},
        {"{\"x\": \"\u4e2d\"}", "1:2: \"x\" holds characters that CP1252 cannot write"},
        {R"({"x": "a\u0000b"})", "1:2: \"x\" holds a zero character, which would end the text there"},
        {R"({"x": 7})", "1:2: \"x\" must be a string"},
        {R"({"x": {}})", "1:2: \"x\" needs \"text\" or \"bytes\""},
        {R"({"x": {"text": 1}})", "1:8: \"text\" must be a string"},
        {R"({"x": {"text": "A", "colour": 1}})", "1:21: unknown member \"colour\""},
        {R"({"x": {"bytes": "4"}})", "1:8: \"bytes\" must be hex digits, two for each byte"},
        {R"({"x": {"bytes": "4g"}})", "1:8: \"bytes\" must be hex digits, two for each byte"},
        {"{\"x\": {\"bytes\": \"" + std::string(162, '4') + "\"}}",
         "1:8: \"bytes\" holds 81 bytes; the field holds 80"},
        {R"({"x": {"text": "A", "bytes": "4200"}})",
         "1:8: \"text\" is not what \"bytes\" holds; to change the text, remove \"bytes\""},
    };
    for (const auto& c : fields)
    {
        TTextField field = MakeTextField(u"kept");
        EXPECT_EQ(ReadMember(c.json, TextFieldFromJson, field), c.message);
        EXPECT_EQ(field, MakeTextField(u"kept")) << c.json;
    }

    const struct
    {
        std::string json;
        std::string message;
    } wides[] = {
        {R"({"x": 7})", "1:2: \"x\" must be a string"},
        {R"({"x": {"text": "a"}})", "1:2: \"x\" must be a string"},
        {R"({"x": "a\u0000"})", "1:2: \"x\" holds a zero character, which would end it there"},
        {R"({"x": {"utf16": "d80"}})", "1:8: \"utf16\" must be hex digits, four for each UTF-16 code unit"},
        {R"({"x": {"utf16": 55296}})", "1:8: \"utf16\" must be hex digits, four for each UTF-16 code unit"},
        {R"({"x": {"utf16": "00410000"}})",
         "1:8: \"utf16\" holds a zero code unit, which would end the text there"},
        {R"({"x": {"utf16": "0041", "y": 1}})", "1:25: unknown member \"y\""},
    };
    for (const auto& c : wides)
    {
        std::u16string text = u"kept";
        EXPECT_EQ(ReadMember(c.json, WideFromJson, text), c.message);
        EXPECT_EQ(text, u"kept") << c.json;
    }
}
