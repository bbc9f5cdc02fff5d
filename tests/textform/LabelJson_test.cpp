// Labels in a layout's JSON and the words add-label shares with them: what
// they read, what they refuse, and the painter that draws what they read.

#include "LabelJson.h"
#include "LabelWords.h"
#include "LayoutJson.h"
#include "LayoutJsonReader.h"

#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

void ExpectSameLabel(const TLabel& a, const TLabel& b, const std::string& what)
{
    EXPECT_EQ(a.text.text, b.text.text) << what;
    EXPECT_EQ(a.text.family, b.text.family) << what;
    EXPECT_EQ(a.text.size, b.text.size) << what;
    EXPECT_EQ(a.text.bold, b.text.bold) << what;
    EXPECT_EQ(a.text.align, b.text.align) << what;
    EXPECT_EQ(a.text.padding, b.text.padding) << what;
    EXPECT_EQ(a.text.width, b.text.width) << what;
    EXPECT_EQ(a.text.height, b.text.height) << what;
    EXPECT_EQ(a.colour, b.colour) << what;
    EXPECT_EQ(a.background, b.background) << what;
}

// A painter that draws nothing of the text: a 3 x 2 picture, or the refusal it is given.
TLabelPainter FakePainter(std::vector<TLabel>* painted, std::string refusal = "")
{
    return [painted, refusal](const TLabel& label, CImageBuffer& picture, std::string& error)
    {
        if (painted != nullptr)
            painted->push_back(label);
        if (!refusal.empty())
        {
            error = refusal;
            return false;
        }
        picture.Data().Create(3, 2, 24);
        return true;
    };
}

} // namespace

TEST(LabelWords, ReadWhatTheyNameAndLeaveTheRestAlone)
{
    const TColor white = Rgb(255, 255, 255);
    for (const auto& [text, colour] : {std::pair<std::string, TColor>{"#FFFFFF", white},
                                       {"c00000", Rgb(192, 0, 0)},
                                       {"#203060", Rgb(32, 48, 96)}})
    {
        TColor read = 1;
        EXPECT_TRUE(ParseLabelColour(text, read)) << text;
        EXPECT_EQ(read, colour) << text;
    }
    for (const char* text : {"", "#12345", "#1234567", "#GG0000", "red", "##FFFFF"})
    {
        TColor read = 1;
        EXPECT_FALSE(ParseLabelColour(text, read)) << text;
        EXPECT_EQ(read, 1u) << text;
    }

    const std::pair<const char*, ETextAlign> aligns[] = {{"left", ETextAlign::Left},
                                                         {"centre", ETextAlign::Centre},
                                                         {"center", ETextAlign::Centre},
                                                         {"right", ETextAlign::Right}};
    for (const auto& [text, align] : aligns)
    {
        ETextAlign read = ETextAlign::Left == align ? ETextAlign::Right : ETextAlign::Left;
        EXPECT_TRUE(ParseTextAlign(text, read)) << text;
        EXPECT_EQ(read, align) << text;
    }
    ETextAlign align = ETextAlign::Right;
    EXPECT_FALSE(ParseTextAlign("Left", align));
    EXPECT_FALSE(ParseTextAlign("middle", align));
    EXPECT_EQ(align, ETextAlign::Right);

    const TUserFace kept = {kFaceImage, 10000, 0, 0, 0};
    const struct
    {
        bool (*parse)(const std::string&, TUserFace&);
        const char* text;
        bool read;
        TUserFace face;
    } backgrounds[] = {
        {ParseLabelBackground, "none", true, TUserFace{}},
        {ParseLabelBackground, "#00FF00", true, {kFaceColour, kColourSingle, 0, Rgb(0, 255, 0), 0}},
        {ParseLabelBackground, "green", false, kept},
        {ParseLabelGradient, "radial,#000000,#FFFFFF", true, {kFaceColour, kColourRadial, 0, 0, white}},
        {ParseLabelGradient,
         "left-to-right,#FFFFFF,000000",
         true,
         {kFaceColour, kColourLeftToRight, 0, white, 0}},
        {ParseLabelGradient,
         "top-to-bottom,#203060,#5070C0",
         true,
         {kFaceColour, kColourTopToBottom, 0, Rgb(32, 48, 96), Rgb(80, 112, 192)}},
        {ParseLabelGradient, "up,#000000,#FFFFFF", false, kept},
        {ParseLabelGradient, "radial,#000000", false, kept},
        {ParseLabelGradient, "radial,#000000,#FFFFFZ", false, kept},
        {ParseLabelGradient, "none", false, kept},
    };
    for (const auto& c : backgrounds)
    {
        TUserFace face = kept;
        EXPECT_EQ(c.parse(c.text, face), c.read) << c.text;
        EXPECT_EQ(face, c.face) << c.text;
    }

    EXPECT_EQ(LineBreaksFromEscapes("Lights\\non"), "Lights\non");
    EXPECT_EQ(LineBreaksFromEscapes("a\\tb\\"), "a\\tb\\");
    EXPECT_EQ(LineBreaksFromEscapes("\\n\\n"), "\n\n");
}

TEST(LabelJson, ReadsWhatAddLabelsOptionsSay)
{
    const auto label = [](const char* text, TColor colour, TUserFace background, auto change)
    {
        TLabel l;
        l.text.text = text;
        l.colour = colour;
        l.background = background;
        change(l);
        return l;
    };
    const struct
    {
        std::string json;
        TLabel label;
    } cases[] = {
        {R"({"text": "Lights\non", "bold": true, "colour": "#FFFFFF", "gradient": "top-to-bottom,#203060,#5070C0",
             "width": 90, "height": 40})",
         label("Lights\non", Rgb(255, 255, 255),
               {kFaceColour, kColourTopToBottom, 0, Rgb(32, 48, 96), Rgb(80, 112, 192)},
               [](TLabel& l)
               {
                   l.text.bold = true;
                   l.text.width = 90;
                   l.text.height = 40;
               })},
        {R"({"text": "Bar\nroom", "size": 24, "align": "right", "padding": 2, "colour": "#c00000"})",
         label("Bar\nroom", Rgb(192, 0, 0), {},
               [](TLabel& l)
               {
                   l.text.size = 24;
                   l.text.align = ETextAlign::Right;
                   l.text.padding = 2;
               })},
        {R"({"text": "Off", "font": "DejaVu Sans", "background": "#00FF00", "align": "left", "width": 60})",
         label("Off", Rgb(0, 0, 0), {kFaceColour, kColourSingle, 0, Rgb(0, 255, 0), 0},
               [](TLabel& l)
               {
                   l.text.family = "DejaVu Sans";
                   l.text.align = ETextAlign::Left;
                   l.text.width = 60;
               })},
        {R"({"text": "Hi"})", label("Hi", Rgb(0, 0, 0), {}, [](TLabel&) {})},
    };
    for (const auto& c : cases)
    {
        TJsonValue json;
        TJsonProblem problem;
        ASSERT_TRUE(ParseJsonText(c.json, json, problem)) << c.json;
        TLabel read;
        read.text.text = "left over";
        ASSERT_TRUE(LabelFromJson(json, read, problem)) << c.json << ": " << problem.message;
        ExpectSameLabel(read, c.label, c.json);
    }
}

TEST(LabelJson, RefusalsNameTheirPlace)
{
    const struct
    {
        std::string json;
        std::string message;
    } cases[] = {
        {R"({"images": [{"label": {"size": 12}}]})", "1:23: a label needs \"text\""},
        {R"({"images": [{"label": {"text": 5}}]})", "1:24: \"text\" must be a string"},
        {R"({"images": [{"label": {"text": "Hi", "shade": 1}}]})", "1:38: unknown member \"shade\""},
        {R"({"images": [{"label": {"text": "Hi", "colour": "red"}}]})",
         "1:38: \"colour\" must be a colour as #RRGGBB"},
        {R"({"images": [{"label": {"text": "Hi", "align": "middle"}}]})",
         "1:38: \"align\" must be left, centre or right"},
        {R"({"images": [{"label": {"text": "Hi", "gradient": "up,#000000,#FFFFFF"}}]})",
         "1:38: \"gradient\" must be MODE,#RRGGBB,#RRGGBB with MODE left-to-right, top-to-bottom or radial"},
        {R"({"images": [{"label": {"text": "Hi", "size": "12"}}]})", "1:38: \"size\" must be an integer"},
        {R"({"images": [{"label": {"text": "Hi", "width": 1.5}}]})", "1:38: \"width\" must be an integer"},
        {R"({"images": [{"label": {"text": "Hi", "padding": 4294967296}}]})",
         "1:38: \"padding\" is out of range"},
        {R"({"images": [{"label": {"text": "Hi", "bold": 1}}]})", "1:38: \"bold\" must be true or false"},
        {R"({"images": [{"label": {"text": "Hi", "background": "none", "gradient": "radial,#000000,#FFFFFF"}}]})",
         "1:60: a label takes \"background\" or \"gradient\", not both"},
        {R"({"images": [{"png": "", "label": {"text": "Hi"}}]})",
         "1:25: a picture takes \"label\", \"file\" or \"png\", only one"},
        {R"({"images": [{"label": "Hi"}]})", "1:14: \"label\" must be an object"},
    };
    std::vector<TLabel> painted;
    for (const auto& c : cases)
    {
        std::vector<uint8_t> bytes;
        TBuildProblem problem;
        EXPECT_FALSE(JsonToFile(c.json, "", FakePainter(&painted), bytes, problem)) << c.json;
        EXPECT_EQ(LineColumn(c.json, problem.offset) + ": " + problem.message, c.message) << c.json;
    }
    EXPECT_TRUE(painted.empty());
}

TEST(LabelJson, TheReaderHasThePainterDrawWhatItRead)
{
    const std::string text =
        R"({"images": [{"id": 10004, "name": "Lights", "label": {"text": "On", "size": 20}}]})";
    TJsonValue root;
    TJsonProblem problem;
    ASSERT_TRUE(ParseJsonText(text, root, problem));

    std::vector<TLabel> painted;
    CLayoutJsonReader reader("", FakePainter(&painted));
    TJsonBuilt built;
    ASSERT_TRUE(reader.Read(root, built)) << reader.Problem().message;
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].text.text, "On");
    EXPECT_EQ(painted[0].text.size, 20);
    const TImageEntry* entry = built.layout->images.FindImage(10004);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, u"Lights");
    ASSERT_NE(entry->image, nullptr);
    EXPECT_EQ(entry->image->GetWidth(), 3u);

    // What the painter cannot draw is the label's problem; without a painter
    // no label is drawn.
    const std::pair<TLabelPainter, std::string> refusals[] = {
        {FakePainter(nullptr, "the font size must be from 1 to 200 pixels"),
         "1:54: label: the font size must be from 1 to 200 pixels"},
        {TLabelPainter(), "1:54: a label cannot be drawn here"},
    };
    for (const auto& [painter, message] : refusals)
    {
        CLayoutJsonReader refusing("", painter);
        TJsonBuilt none;
        EXPECT_FALSE(refusing.Read(root, none));
        EXPECT_EQ(LineColumn(text, refusing.Problem().offset) + ": " + refusing.Problem().message, message);
    }
}
