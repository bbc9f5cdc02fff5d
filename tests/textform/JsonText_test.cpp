// The JSON reader under the layout's text form: what it keeps of each value,
// where it says a text went wrong, and how values are printed.

#include "JsonText.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Where(const std::string& text, const TJsonProblem& problem)
{
    return LineColumn(text, problem.offset) + ": " + problem.message;
}

} // namespace

TEST(JsonText, ParsedValuesKeepTheirKindAndWhereTheyStart)
{
    const std::string text = R"({"a": [1, "x\"y", true, 2.5], "b": null, "c": 18446744073709551615})";
    TJsonValue root;
    TJsonProblem problem;
    ASSERT_TRUE(ParseJsonText(text, root, problem)) << Where(text, problem);
    using EKind = TJsonValue::EKind;
    ASSERT_EQ(root.kind, EKind::Object);
    EXPECT_EQ(root.keys, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(root.keyOffsets, (std::vector<size_t>{1, 30, 41}));

    size_t at = 0;
    const TJsonValue* list = root.Find("a", &at);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(at, 1u);
    EXPECT_EQ(list->kind, EKind::Array);
    EXPECT_EQ(list->offset, 6u);
    ASSERT_EQ(list->items.size(), 4u);
    const EKind kinds[] = {EKind::Integer, EKind::String, EKind::Bool, EKind::Float};
    for (size_t i = 0; i < std::size(kinds); ++i)
        EXPECT_EQ(list->items[i].kind, kinds[i]) << i;
    EXPECT_EQ(list->items[0].offset, 7u);
    EXPECT_EQ(list->items[1].offset, 10u) << "a string starts at its opening quote";
    EXPECT_EQ(list->items[2].offset, 18u);
    EXPECT_EQ(list->items[3].offset, 24u);
    EXPECT_EQ(list->items[0].integer, 1);
    EXPECT_EQ(list->items[1].text, "x\"y");
    EXPECT_TRUE(list->items[2].boolean);
    EXPECT_EQ(root.Find("b")->kind, EKind::Null);
    EXPECT_EQ(root.Find("b")->offset, 35u);
    EXPECT_TRUE(root.Find("c")->beyondInt64);
    EXPECT_EQ(root.Find("d"), nullptr);
}

// One sentence and a place for each: the parser's own wording, without its
// "[json.exception...]" and its echo of the input.
TEST(JsonText, MalformedTextSaysWhatAndWhere)
{
    const struct
    {
        std::string text;
        std::string message;
    } cases[] = {
        {"",
         "1:1: syntax error while parsing value: unexpected end of input; expected '[', '{', or a literal"},
        {"{\"kind\": \"template\",\n \"pages\": [}",
         "2:12: syntax error while parsing value: unexpected '}'; expected '[', '{', or a literal"},
        {"{\"a\": 1,\n \"b\": 2, \"a\": 3}", "2:10: \"a\" is given twice"},
        {"{\"a\": {\"x\": 1}, \"b\": {\"x\": 2}}", ""}, // a name may come again in another object
        {std::string(70, '[') + std::string(70, ']'), "1:65: nested more than 64 deep"},
        {"{\"left\": 1e999}", "1:14: number out of range"},
        {"{\"controlName\": \"a\xff\"}",
         "1:19: syntax error while parsing value: invalid string: ill-formed UTF-8 byte"},
        {"{\"controlName\": \"\\ud800\"}", "1:24: syntax error while parsing value: invalid string: "
                                           "surrogate U+D800..U+DBFF must be followed by "
                                           "U+DC00..U+DFFF"},
        {"{\"pages\": [1 2]}",
         "1:14: syntax error while parsing array: unexpected number literal; expected ']'"},
        {"{\"kind\": \"template\"} x", "1:22: syntax error while parsing value: invalid literal"},
        {"{\"caf\u00e9\": tru}", "1:13: syntax error while parsing value: invalid literal"},
        // Memory stays bounded whatever the text: the value one past the limit is refused.
        {"[" +
             []
             {
                 std::string zeros;
                 for (size_t i = 0; i < kJsonValueLimit; ++i)
                     zeros += "0,";
                 return zeros;
             }() +
             "0]",
         "1:1000000: more than 500,000 values, more than any layout holds"},
    };
    for (const auto& c : cases)
    {
        const std::string shown = c.text.substr(0, 60);
        TJsonValue root;
        TJsonProblem problem;
        const bool parsed = ParseJsonText(c.text, root, problem);
        EXPECT_EQ(parsed, c.message.empty()) << shown;
        EXPECT_EQ(parsed ? "" : Where(c.text, problem), c.message) << shown;
    }
}

TEST(JsonText, LineAndColumnCountCharactersFromOne)
{
    const struct
    {
        std::string text;
        size_t offset;
        std::string where;
    } cases[] = {
        {"abc", 0, "1:1"},    {"ab\ncd", 3, "2:1"},
        {"ab\ncd", 4, "2:2"}, {"\u00e9\u4e2d=x", 6, "1:4"}, // two and three bytes, one column each
        {"ab", 99, "1:3"},                                  // past the end: where the text ends
    };
    for (const auto& c : cases)
        EXPECT_EQ(LineColumn(c.text, c.offset), c.where) << c.text << " at " << c.offset;
}

// An object with no list in it stays on one line, so that each object of a
// page is a line of its own; lists and what holds them open up.
TEST(JsonText, PrintedObjectsWithoutListsStayOnOneLine)
{
    TOrderedJson page = TOrderedJson::object();
    page["id"] = 10000;
    page["name"] = "Caf\u00e9";
    page["objects"] = TOrderedJson::array({TOrderedJson{{"type", 4}, {"target", -1}}});
    TOrderedJson root = TOrderedJson::object();
    root["kind"] = "template";
    root["face"] = TOrderedJson{{"type", 7}, {"param", 1}};
    root["pages"] = TOrderedJson::array({page});
    root["numbers"] = TOrderedJson::array({1, 2});
    root["events"] = TOrderedJson::array();
    root["bad"] = std::string("a\xff");
    EXPECT_EQ(PrintJson(root), "{\n"
                               "  \"kind\": \"template\",\n"
                               "  \"face\": {\"type\": 7, \"param\": 1},\n"
                               "  \"pages\": [\n"
                               "    {\n"
                               "      \"id\": 10000,\n"
                               "      \"name\": \"Caf\u00e9\",\n"
                               "      \"objects\": [\n"
                               "        {\"type\": 4, \"target\": -1}\n"
                               "      ]\n"
                               "    }\n"
                               "  ],\n"
                               "  \"numbers\": [\n"
                               "    1,\n"
                               "    2\n"
                               "  ],\n"
                               "  \"events\": [],\n"
                               "  \"bad\": \"a\ufffd\"\n"
                               "}");
    EXPECT_EQ(PrintJson(TOrderedJson::object()), "{}");
}
