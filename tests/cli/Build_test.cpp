// qelctl dump and build as each other's inverse, and what build refuses.

#include "QelctlRun.h"
#include "RecordBytes.h"

#include "Btn8Ctrl.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

std::unique_ptr<CImageBuffer> Picture(int32_t width, int32_t height, uint8_t blue)
{
    auto image = std::make_unique<CImageBuffer>();
    image->Data().Create(width, height, 24);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            image->Data().SetColor(x, y, {static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 5), blue, 0});
    return image;
}

std::vector<uint8_t> TemplateBytes(const std::vector<uint8_t>& image)
{
    std::vector<uint8_t> file = {0xD5, 0xCA, 0xAD, 0xAB};
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// Every kind of record with values in every field, as the editor makes them.
TLayout EveryRecord()
{
    TLayout layout;
    layout.controlName = u"Caf\u00e9 \u4e2d";
    layout.sleepTimeout = 300;
    layout.pinOnWakeup = 1;
    layout.timeoutPin = u"1234";
    layout.securityPin = u"9876";
    layout.audibleFeedback = 0;
    layout.manualBrightness = 55;
    layout.autoBrightness = 1;
    layout.images.AddImage(u"Wall plate", Picture(100, 60, 40));
    layout.images.AddImage(u"Logo", Picture(32, 16, 200));
    layout.images.AddImage(u"Empty", nullptr);

    auto page = std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId());
    page->face = {kFaceColour, kColourRadial, 0, 0x00112233, 0x00445566};
    auto button = std::make_unique<TUserButton>();
    button->left = 40;
    button->top = 50;
    button->width = 60;
    button->height = 30;
    button->upFace = {kFaceImage, 10000};
    button->downFace = {kFaceButton, 16};
    button->selectorId = 3;
    button->toggle = true;
    button->downText = MakeTextField(u"VOL UP");
    button->upText = MakeTextField(u"VOL STOP \u00e9");
    page->AppendObject(std::move(button));
    auto image = std::make_unique<TUserImage>();
    image->face = {kFaceImage, 10001};
    image->width = 32;
    image->height = 16;
    page->AppendObject(std::move(image));
    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->targetPage = TUserHotspot::kReturnToPrevious;
    hotspot->left = 300;
    page->AppendObject(std::move(hotspot));
    auto level = std::make_unique<TUserLevel>();
    level->controlId = 11;
    level->left = 200;
    level->height = 76;
    page->AppendObject(std::move(level));
    layout.defaultPage = page->id;
    layout.pages.InsertPage(std::move(page));

    // A new eight-button page keeps -1 until the file is loaded again.
    auto eight = std::make_unique<CBtn8Ctrl>(u"Zones");
    eight->names[0] = MakeTextField(u"Bar");
    eight->texts[7] = MakeTextField(u"ZONE 8");
    layout.pages.InsertPage(std::move(eight));
    layout.eventDescriptions[0] = MakeTextField(u"All off");
    layout.eventTexts[23] = MakeTextField(std::u16string(79, u't'));
    return layout;
}

// What a damaged or foreign file that still loads may hold: texts no string
// carries, values no dialog makes, an object of a type we do not know, and a
// picture larger than the screen.
TLayout OddValues()
{
    TLayout layout;
    std::u16string lone = u"X";
    lone.push_back(static_cast<char16_t>(0xD800));
    layout.controlName = lone;
    layout.sleepTimeout = INT32_MIN;
    layout.pinOnWakeup = -3;
    layout.audibleFeedback = 5;
    layout.defaultPage = INT32_MAX;
    layout.manualBrightness = static_cast<int8_t>(200);
    layout.autoBrightness = 255;
    layout.images.AddImage(u"Huge", Picture(400, 300, 7));

    auto page = std::make_unique<TUserPage>(lone, layout.pages.NextPageId());
    page->face = {99, -7, 0, 0xFFFFFFFF, 0xFF000000};
    auto button = std::make_unique<TUserButton>();
    button->reserved = 77;
    button->buttonReserved = 12;
    button->left = -5;
    button->downText = MakeTextField(u"Hello");
    WideToTextField(u"Hi", button->downText); // "Hi", a zero, then "lo" left behind
    button->upText.fill('U');                 // no closing zero at all
    page->AppendObject(std::move(button));
    auto unknown = MakeUserObject(9);
    unknown->left = 1;
    unknown->top = 2;
    unknown->width = 3;
    unknown->height = 4;
    unknown->reserved = -1;
    page->AppendObject(std::move(unknown));
    layout.pages.InsertPage(std::move(page));
    layout.eventTexts[0] = {'A', 0x81, 'B'}; // 0x81 means nothing in Windows-1252
    return layout;
}

class BuildCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("QEL_CODEPAGE", "1252", 1);
        m_dir = fs::temp_directory_path() / ("qel-build-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::string Q(const std::string& name) const { return "'" + Path(name) + "'"; }
    TQelctlRun Qelctl(const std::string& arguments) const { return RunQelctl(arguments, m_dir); }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void WriteText(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    // dump, build, dump again: the bytes come back, and so does the JSON.
    void ExpectRoundTrip(const std::string& file, const std::string& dumpOptions,
                         const std::string& what) const
    {
        TQelctlRun run = Qelctl("dump " + Q(file) + " " + dumpOptions + " -o " + Q("first.json"));
        ASSERT_EQ(run.status, 0) << what << ": " << run.err;
        run = Qelctl("build " + Q("first.json") + " -o " + Q("built"));
        ASSERT_EQ(run.status, 0) << what << ": " << run.err;
        EXPECT_EQ(ReadTextFile(Path("built")), ReadTextFile(Path(file))) << what;
        run = Qelctl("dump " + Q("built") + " " + dumpOptions + " -o " + Q("second.json"));
        ASSERT_EQ(run.status, 0) << what << ": " << run.err;
        EXPECT_EQ(ReadTextFile(Path("second.json")), ReadTextFile(Path("first.json"))) << what;
    }

    fs::path m_dir;
};

} // namespace

TEST_F(BuildCommand, DumpAndBuildAreEachOthersInverse)
{
    TLayout empty;
    TLayout every = EveryRecord();
    TLayout odd = OddValues();
    const std::vector<uint8_t> everyImage = every.SaveToBytes();
    const TUserPage& lobby = dynamic_cast<const TUserPage&>(*every.pages.At(0));
    Write("empty.qel", TemplateBytes(empty.SaveToBytes()));
    Write("every.qel", TemplateBytes(everyImage));
    Write("odd.qel", TemplateBytes(odd.SaveToBytes()));
    Write("every.bin", everyImage);
    Write("lobby.qup", StoreUserPage(every, lobby));

    const struct
    {
        const char* file;
        const char* options;
    } cases[] = {
        {"empty.qel", ""},
        {"every.qel", ""},
        {"every.qel", "--pictures " /* beside the JSON */},
        {"odd.qel", ""},
        {"odd.qel", "--pictures "},
        {"every.bin", "--raw"},
        {"lobby.qup", ""},
        {"lobby.qup", "--pictures "},
    };
    for (const auto& c : cases)
    {
        std::string options = c.options;
        if (options == "--pictures ")
            options += Q("pictures");
        ExpectRoundTrip(c.file, options, std::string(c.file) + " " + c.options);
    }

    // The pictures became files named after them; the one larger than the
    // screen stayed in the JSON, since a file would be scaled to fit.
    ASSERT_EQ(Qelctl("dump " + Q("every.qel") + " --pictures " + Q("pictures") + " -o " + Q("t.json")).status,
              0);
    const std::string json = ReadTextFile(Path("t.json"));
    EXPECT_NE(json.find("\"file\": \"pictures/wall-plate.png\""), std::string::npos) << json;
    EXPECT_TRUE(fs::exists(Path("pictures/logo.png")));
    EXPECT_NE(json.find("{\"id\": 10002, \"name\": \"Empty\", \"guid\": "), std::string::npos);
    ASSERT_EQ(Qelctl("dump " + Q("odd.qel") + " --pictures " + Q("pictures") + " -o " + Q("t.json")).status,
              0);
    EXPECT_NE(ReadTextFile(Path("t.json")).find("\"width\": 400, \"height\": 300, \"png\": "),
              std::string::npos);

    // Each object of a page on one line, so that a diff names the object.
    const std::string shown = Qelctl("dump " + Q("every.qel")).out;
    EXPECT_NE(shown.find("\n        {\"type\": 4, \"left\": 300, \"top\": 0, \"width\": 0, \"height\": 0, "
                         "\"target\": 2, \"reserved\": 0},\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("\"type\": 9,\n      \"id\": -1,\n      \"name\": \"Zones\""), std::string::npos);
}

TEST_F(BuildCommand, OlderVersionsComeBackAsVersionSevenWithTheirDefaults)
{
    // One layout as each version stores it: its settings, a user page whose
    // entry and button are of their first versions, a picture, the events.
    const auto image = [](int32_t version)
    {
        CRecordBytes b;
        const auto ansi = [&b](const char* text, int32_t count)
        {
            b.Int(count);
            for (int32_t i = 0; i < count; ++i)
                b.bytes.push_back(static_cast<uint8_t>(text[i]));
        };
        b.Int(version);
        version >= 2 ? (void)b.Text(u"Hall") : ansi("Hall", 5);
        b.Ints({30, 1});
        version >= 2 ? (void)b.Text(u"12") : ansi("12", 3);
        if (version >= 7)
            b.Text(u"99");
        b.Int(1).Raw({80, 1});
        if (version >= 5)
            b.Int(-1);
        b.Ints({1, 8, 1}); // a user page; its entry of version 1 has an ANSI name and no id
        ansi("Lobby", 6);
        b.Ints({1, 1, 7, 1, 0x00FF00, 0});          // page version, face
        b.Ints({1, 1, 1, 1, 0, 10, 20, 30, 40, 1}); // a button of version 1
        b.Ints({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, -1, 1});
        b.Raw({'O', 'N'}).Zeros(78);
        b.Ints({0, 0});
        if (version >= 3)
            b.Int(0);
        if (version >= 4)
            b.Ints({1, 2, 10000})
                .Text(u"Pic")
                .Ints({1, 0})
                .Raw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})
                .Int(0);
        if (version >= 6)
        {
            b.Int(1920).Raw({'D', 'E', 'S', 'C'}).Zeros(1916);
            b.Int(1920).Raw({'T', 'E', 'X', 'T'}).Zeros(1916);
        }
        return b.bytes;
    };
    for (int32_t version = 1; version <= 7; ++version)
    {
        const std::string what = "version " + std::to_string(version);
        Write("old.qel", TemplateBytes(image(version)));
        TQelctlRun run = Qelctl("dump " + Q("old.qel") + " -o " + Q("old.json"));
        ASSERT_EQ(run.status, 0) << what << ": " << run.err;
        ASSERT_EQ(Qelctl("build " + Q("old.json") + " -o " + Q("new.qel")).status, 0) << what;
        const std::string built = ReadTextFile(Path("new.qel"));
        ASSERT_GT(built.size(), 8u);
        EXPECT_EQ(built[4], 7) << what;
        // The built file is the one our store makes of the old layout, and it dumps as the same JSON.
        TLayout loaded;
        const std::vector<uint8_t> old = image(version);
        ASSERT_TRUE(loaded.LoadFromBuffer(old.data(), static_cast<int32_t>(old.size()), nullptr, true));
        const std::vector<uint8_t> expected = TemplateBytes(loaded.SaveToBytes());
        EXPECT_EQ(built, std::string(expected.begin(), expected.end())) << what;
        ASSERT_EQ(Qelctl("dump " + Q("new.qel") + " -o " + Q("new.json")).status, 0);
        const std::string json = ReadTextFile(Path("new.json"));
        EXPECT_EQ(json, ReadTextFile(Path("old.json"))) << what;

        EXPECT_NE(json.find("\"controlName\": \"Hall\""), std::string::npos) << what;
        EXPECT_NE(json.find("\"securityPin\": \"" + std::string(version >= 7 ? "99" : "") + "\""),
                  std::string::npos)
            << what;
        EXPECT_NE(json.find("\"defaultPage\": -1"), std::string::npos) << what;
        EXPECT_NE(json.find("\"id\": -1,\n      \"name\": \"Lobby\""), std::string::npos) << what << json;
        EXPECT_NE(json.find("\"downEvent\": \"ON\", \"upEvent\": \"\""), std::string::npos) << what;
        EXPECT_EQ(json.find("\"Pic\"") != std::string::npos, version >= 4) << what;
        EXPECT_EQ(json.find("{\"description\": \"DESC\", \"text\": \"TEXT\"}") != std::string::npos,
                  version >= 6)
            << what;
    }
}

TEST_F(BuildCommand, BadJsonIsOneLineNamingWhereAndNothingIsWritten)
{
    const auto page = [](const std::string& object)
    {
        return "{\"kind\": \"template\",\n \"pages\": [\n  {\"type\": 8, \"objects\": [\n   " + object +
               "\n  ]}\n ]\n}\n";
    };
    const struct
    {
        std::string json;
        std::string message;
    } cases[] = {
        {"",
         "1:1: syntax error while parsing value: unexpected end of input; expected '[', '{', or a literal"},
        {"{\"kind\": \"template\",\n \"pages\": [}",
         "2:12: syntax error while parsing value: unexpected '}'; "
         "expected '[', '{', or a literal"},
        {page("{\"type\": 1, \"left\": \"x\"}"), "4:16: \"left\" must be an integer"},
        {page("{\"type\": 1, \"width\": 1.5}"), "4:16: \"width\" must be an integer"},
        {page("{\"type\": 1, \"top\": 2147483648}"), "4:16: \"top\" must be from -2147483648 to 2147483647"},
        {page("{\"type\": 1, \"left\": 1, \"left\": 2}"), "4:27: \"left\" is given twice"},
        {page("{\"type\": 1, \"lefft\": 3}"), "4:16: unknown member \"lefft\""},
        {page("{\"left\": 3}"),
         "4:4: each object needs its \"type\": 1 button, 2 level slider, 3 image, 4 hot spot"},
        {page("{\"type\": 1, \"toggle\": 1}"), "4:16: \"toggle\" must be true or false"},
        {page("{\"type\": 1, \"downEvent\": \"" + std::string(80, 'a') + "\"}"),
         "4:16: \"downEvent\" is 80 bytes in CP1252; its field holds 79"},
        {page("{\"type\": 1, \"upEvent\": \"\u4e2d\"}"),
         "4:16: \"upEvent\" holds characters that CP1252 cannot write"},
        {page("{\"type\": 1, \"upEvent\": {\"text\": \"A\", \"bytes\": \"4200\"}}"),
         "4:28: \"text\" is not what \"bytes\" holds; to change the text, remove \"bytes\""},
        {page("{\"type\": 1, \"upFace\": {\"type\": 2, \"colour1\": -1}}"),
         "4:38: \"colour1\" must be from 0 to 4294967295"},
        {"{\"manualBrightness\": 256}", "1:2: \"manualBrightness\" must be from 0 to 255"},
        {"{\"controlName\": 7}", "1:2: \"controlName\" must be a string"},
        {"{\"pages\": [{\"type\": 7}]}",
         "1:13: \"type\" must be 8 (a user page) or 9 (an eight-button page)"},
        {"{\"kind\": \"picture\"}", "1:2: \"kind\" must be \"template\", \"layout\" or \"userpage\""},
        {"{\"events\": [{}" +
             std::string(24 * 3, ' ')
                 .replace(0, 24 * 3,
                          []
                          {
                              std::string more;
                              for (int i = 0; i < 24; ++i)
                                  more += ",{}";
                              return more;
                          }()) +
             "]}",
         "1:2: \"events\" lists 25 events; there are 24"},
        {"{\"images\": [{\"id\": 10000, \"file\": \"pictures/none.png\"}]}",
         "1:27: pictures/none.png: cannot open file (no such file or directory)"},
        {"{\"images\": [{\"png\": \"not base64!\"}]}", "1:14: \"png\" must be base64"},
        {"{\"images\": [{\"png\": \"aGVsbG8=\"}]}", "1:14: \"png\" does not hold a PNG picture"},
        {"{\"images\": [{\"id\": 5}]}", "1:14: \"id\" of an added picture must be 10000 or more"},
        {"{\"images\": [{\"guid\": \"{1234}\"}]}",
         "1:14: \"guid\" must read {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in hex digits"},
        {std::string(70, '[') + std::string(70, ']'), "1:65: nested more than 64 deep"},
        // The parser's own wording, without its "[json.exception...]" and
        // without its echo of the input.
        {"{\"left\": 1e999}", "1:14: number out of range"},
        {"{\"controlName\": \"a\xff\"}",
         "1:19: syntax error while parsing value: invalid string: ill-formed UTF-8 byte"},
        {"{\"controlName\": \"\\ud800\"}", "1:24: syntax error while parsing value: invalid string: "
                                           "surrogate U+D800..U+DBFF must be followed by "
                                           "U+DC00..U+DFFF"},
        {"{\"pages\": [1 2]}",
         "1:14: syntax error while parsing array: unexpected number literal; expected ']'"},
        {"{\"kind\": \"template\"} x", "1:22: syntax error while parsing value: invalid literal"},
        // Memory stays bounded whatever the text: the value one past the limit is refused.
        {"[" +
             []
             {
                 std::string zeros;
                 for (int i = 0; i < 500000; ++i)
                     zeros += "0,";
                 return zeros;
             }() +
             "0]",
         "1:1000000: more than 500,000 values, more than any layout holds"},
    };
    WriteText("out.qel", "keep me");
    for (const auto& c : cases)
    {
        WriteText("rooms.json", c.json);
        const TQelctlRun run = Qelctl("build " + Q("rooms.json") + " -o " + Q("out.qel"));
        EXPECT_EQ(run.status, 1) << c.json;
        EXPECT_EQ(run.err, "qelctl: " + Path("rooms.json") + ":" + c.message + "\n") << c.json;
        EXPECT_EQ(ReadTextFile(Path("out.qel")), "keep me") << c.json;
    }
}
