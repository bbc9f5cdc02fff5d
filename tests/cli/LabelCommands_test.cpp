#include "QelctlRun.h"

#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "ImageLibrary.h"
#include "LabelPicture.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "UserButton.h"
#include "UserImage.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class LabelCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qel-labels-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        ASSERT_EQ(Qelctl("new " + Q("t.qel")).status, 0);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::string Q(const std::string& name) const { return "'" + Path(name) + "'"; }
    TQelctlRun Qelctl(const std::string& arguments) const { return RunQelctl(arguments, m_dir); }
    void WriteText(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    fs::path m_dir;
};

// Every pixel alike, alpha included.
void ExpectSamePicture(const CImageBuffer& a, const CImageBuffer& b, const std::string& what)
{
    ASSERT_EQ(a.GetWidth(), b.GetWidth()) << what;
    ASSERT_EQ(a.GetHeight(), b.GetHeight()) << what;
    ASSERT_EQ(a.Data().alpha.empty(), b.Data().alpha.empty()) << what;
    for (int32_t y = 0; y < static_cast<int32_t>(a.GetHeight()); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(a.GetWidth()); ++x)
            ASSERT_EQ(a.GetPixelColor(x, y), b.GetPixelColor(x, y)) << what << " at " << x << "," << y;
}

TLabel Label(const char* text, TColor colour, TUserFace background)
{
    TLabel label;
    label.text.text = text;
    label.colour = colour;
    label.background = background;
    return label;
}

TEST_F(LabelCommands, AddLabelAndBuildDrawWhatTheCoreDraws)
{
    const auto with = [](TLabel label, auto change)
    {
        change(label);
        return label;
    };
    const struct
    {
        std::string options; // for add-label
        std::string json;    // the same label in a layout's JSON
        TLabel label;
    } cases[] = {
        {"--text 'Lights\\non' --bold --colour FFFFFF --gradient top-to-bottom,#203060,#5070C0 --width 90 "
         "--height 40",
         R"({"text": "Lights\non", "bold": true, "colour": "#FFFFFF", "gradient": "top-to-bottom,#203060,#5070C0",
             "width": 90, "height": 40})",
         with(Label("Lights\non", Rgb(255, 255, 255),
                    {kFaceColour, kColourTopToBottom, 0, Rgb(32, 48, 96), Rgb(80, 112, 192)}),
              [](TLabel& l)
              {
                  l.text.bold = true;
                  l.text.width = 90;
                  l.text.height = 40;
              })},
        {"--text 'Bar\nroom' --size 24 --align right --padding 2 --colour=#c00000",
         R"({"text": "Bar\nroom", "size": 24, "align": "right", "padding": 2, "colour": "#c00000"})",
         with(Label("Bar\nroom", Rgb(192, 0, 0), {}),
              [](TLabel& l)
              {
                  l.text.size = 24;
                  l.text.align = ETextAlign::Right;
                  l.text.padding = 2;
              })},
        {"--text Off --font 'DejaVu Sans' --background '#00FF00' --align left --width 60",
         R"({"text": "Off", "font": "DejaVu Sans", "background": "#00FF00", "align": "left", "width": 60})",
         with(Label("Off", Rgb(0, 0, 0), {kFaceColour, kColourSingle, 0, Rgb(0, 255, 0), 0}),
              [](TLabel& l)
              {
                  l.text.family = "DejaVu Sans";
                  l.text.align = ETextAlign::Left;
                  l.text.width = 60;
              })},
    };
    std::string json = "{\"images\": [";
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const auto& c = cases[i];
        json += (i > 0 ? ", " : "") + std::string("{\"id\": ") + std::to_string(10000 + i) +
                ", \"label\": " + c.json + "}";
        const TQelctlRun run =
            Qelctl("add-label " + Q("t.qel") + " --name 'Label " + std::to_string(i) + "' " + c.options);
        ASSERT_EQ(run.status, 0) << c.options << "\n" << run.err;
        EXPECT_EQ(run.out, std::to_string(10000 + i) + "\n");
        EXPECT_EQ(run.err, "");
        ASSERT_EQ(Qelctl("export-image " + Q("t.qel") + " " + std::to_string(10000 + i) + " -o " + Q("l.png"))
                      .status,
                  0);

        CImageBuffer expected;
        std::string error;
        ASSERT_TRUE(MakeLabelPicture(c.label, expected, error)) << error;
        CImageBuffer exported;
        ASSERT_TRUE(exported.Load(Path("l.png")));
        ExpectSamePicture(exported, expected, c.options);
    }
    WriteText("labels.json", json + "]}");
    const TQelctlRun built = Qelctl("build " + Q("labels.json") + " -o " + Q("built.qel"));
    ASSERT_EQ(built.status, 0) << built.err;

    TLayout fromCommand;
    TLayout fromJson;
    ASSERT_TRUE(LoadTemplateFile(fromCommand, Path("t.qel")).ok);
    ASSERT_TRUE(LoadTemplateFile(fromJson, Path("built.qel")).ok);
    EXPECT_EQ(fromCommand.images.FindImage(10000)->name, u"Label 0");
    for (int32_t id = 10000; id < 10003; ++id)
    {
        ASSERT_NE(fromJson.images.FindImage(id), nullptr) << id;
        ExpectSamePicture(*fromJson.images.FindImage(id)->image, *fromCommand.images.FindImage(id)->image,
                          "picture " + std::to_string(id));
    }
}

TEST_F(LabelCommands, AddLabelRefusesAndLeavesTheTemplate)
{
    const std::string before = ReadTextFile(Path("t.qel"));
    const std::string file = Path("t.qel");
    const struct
    {
        std::string options;
        int status;
        std::string message; // the start of stderr
    } cases[] = {
        {"--text Hi --size 300", 1,
         "qelctl: " + file + ": cannot make the label: the font size must be from 1 to 200"},
        {"--text Hi --width 400", 1,
         "qelctl: " + file + ": cannot make the label: the width must be from 1 to 320"},
        {"--text 'Far too long a label for the screen' --size 60", 1,
         "qelctl: " + file + ": cannot make the label: the text needs "},
        {"--text ''", 1, "qelctl: " + file + ": cannot make the label: the text is empty"},
        {"--text '\\n\\n'", 1, "qelctl: " + file + ": cannot make the label: the text is empty"},
        {"--text Hi --size big", 2, "qelctl: --size big is not a whole number"},
        {"--text Hi --colour red", 2, "qelctl: --colour red is not a colour as #RRGGBB"},
        {"--text Hi --align middle", 2, "qelctl: --align middle is not left, centre or right"},
        {"--text Hi --gradient up,#000000,#FFFFFF", 2, "qelctl: --gradient up,#000000,#FFFFFF is not MODE,"},
        {"--text Hi --background none --gradient radial,#000000,#FFFFFF", 2,
         "qelctl: give --background or --gradient, not both"},
        {"--size 12", 2, "qelctl: add-label takes a template, --text TEXT and --name NAME"},
    };
    for (const auto& c : cases)
    {
        const TQelctlRun run = Qelctl("add-label " + Q("t.qel") + " --name N " + c.options);
        EXPECT_EQ(run.status, c.status) << c.options;
        EXPECT_EQ(run.err.substr(0, c.message.size()), c.message) << c.options;
        EXPECT_EQ(run.out, "") << c.options;
        EXPECT_EQ(ReadTextFile(Path("t.qel")), before) << c.options;
    }

    // A family that is not installed draws with fontconfig's match, and says so.
    const TQelctlRun run = Qelctl("add-label " + Q("t.qel") + " --name N --text Hi --font 'No Such Family'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "10000\n");
    EXPECT_EQ(run.err.rfind("qelctl: note: no font family \"No Such Family\"; drew with \"", 0), 0u)
        << run.err;
}

// What the core cannot draw is refused at the label (what build refuses
// before drawing is tested in-process in tests/textform).
TEST_F(LabelCommands, JsonLabelsThatCannotBeDrawnRefuseWithTheirPlace)
{
    const std::string json = R"({"images": [{"label": {"text": "Hi", "size": 900}}]})";
    WriteText("bad.json", json);
    const TQelctlRun run = Qelctl("build " + Q("bad.json") + " -o " + Q("out.qel"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "qelctl: " + Path("bad.json") + ":1:23: label: the font size must be from 1 to 200 pixels\n");
    EXPECT_FALSE(fs::exists(Path("out.qel")));
}

TEST_F(LabelCommands, RemoveImageOnlyWhatNoPageShows)
{
    {
        TLayout layout;
        ASSERT_TRUE(LoadTemplateFile(layout, Path("t.qel")).ok);
        for (const char16_t* name : {u"Used", u"Spare", u"Twice"})
            layout.images.AddImage(name, std::make_unique<CImageBuffer>());
        auto page = std::make_unique<TUserPage>(u"Lobby", 10000);
        page->AppendObject(std::make_unique<TUserButton>());
        auto button = std::make_unique<TUserButton>();
        button->upFace = {kFaceImage, 10000};
        button->downFace = {kFaceImage, 10002};
        page->AppendObject(std::move(button));
        auto image = std::make_unique<TUserImage>();
        image->face = {kFaceImage, 10002};
        page->AppendObject(std::move(image));
        layout.pages.InsertPage(std::move(page));
        ASSERT_TRUE(SaveTemplateFile(layout, Path("t.qel")).ok);
    }
    const std::string before = ReadTextFile(Path("t.qel"));
    const std::string file = Path("t.qel");
    const struct
    {
        std::string id;
        std::string message;
    } refused[] = {
        {"10000", "picture 10000 is used by page \"Lobby\": button 2 up face"},
        {"10002", "picture 10002 is used by page \"Lobby\": button 2 down face and 1 more place"},
        {"4", "built-in pictures cannot be removed"},
        {"10009", "no picture with id 10009"},
    };
    for (const auto& c : refused)
    {
        const TQelctlRun run = Qelctl("remove-image " + Q("t.qel") + " " + c.id);
        EXPECT_EQ(run.status, 1) << c.id;
        EXPECT_EQ(run.err, "qelctl: " + file + ": " + c.message + "\n");
        EXPECT_EQ(ReadTextFile(Path("t.qel")), before) << c.id;
    }
    EXPECT_EQ(Qelctl("remove-image " + Q("t.qel") + " 1o").status, 2);

    const TQelctlRun run = Qelctl("remove-image " + Q("t.qel") + " 10001 -o " + Q("out.qel"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadTextFile(Path("t.qel")), before);
    TLayout layout;
    ASSERT_TRUE(LoadTemplateFile(layout, Path("out.qel")).ok);
    EXPECT_EQ(layout.images.FindImage(10001), nullptr);
    EXPECT_NE(layout.images.FindImage(10000), nullptr);
    EXPECT_NE(layout.images.FindImage(10002), nullptr);
    EXPECT_NE(layout.images.FindImage(4), nullptr);
}

} // namespace
