// A layout's JSON both ways: dumped and built again it gives the same bytes;
// hand-written JSON takes a new record's values for what it leaves out;
// what no layout can be is refused with the place it stands.

#include "Base64.h"
#include "LayoutJson.h"
#include "LayoutJsonReader.h"
#include "RecordBytes.h"
#include "SampleLayouts.h"

#include "CodePageGuard.h"
#include "ImageEntry.h"
#include "LayoutFile.h"
#include "UserPageFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

std::string Where(const std::string& text, const TBuildProblem& problem)
{
    return problem.hasOffset ? LineColumn(text, problem.offset) + ": " + problem.message : problem.message;
}

std::string PngBase64(CImageBuffer& picture)
{
    const std::vector<uint8_t>* png = picture.PngBlock();
    return png == nullptr ? std::string() : EncodeBase64(png->data(), png->size());
}

class LayoutJsonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qel-textform-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // The writer for base64 pictures, or for files in pictures/ beside the JSON.
    CLayoutJsonWriter Writer(bool pictureFiles) const
    {
        return pictureFiles ? CLayoutJsonWriter((m_dir / "pictures").string(), m_dir.string())
                            : CLayoutJsonWriter();
    }

    // File to JSON (its pictures written out), the JSON built, and the built
    // file to JSON again: the bytes come back, and so does the JSON.
    void ExpectRoundTrip(const std::vector<uint8_t>& file, bool raw, bool pictureFiles,
                         const std::string& what)
    {
        CLayoutJsonWriter writer = Writer(pictureFiles);
        std::string json;
        std::string reason;
        ASSERT_TRUE(FileToJson(file, raw, writer, json, reason)) << what << ": " << reason;
        fs::create_directories(m_dir / "pictures");
        for (const CLayoutJsonWriter::TPictureFile& picture : writer.PictureFiles())
            std::ofstream(picture.path, std::ios::binary)
                .write(reinterpret_cast<const char*>(picture.png.data()),
                       static_cast<std::streamsize>(picture.png.size()));

        std::vector<uint8_t> built;
        TBuildProblem problem;
        ASSERT_TRUE(JsonToFile(json, m_dir.string(), {}, built, problem))
            << what << ": " << Where(json, problem);
        EXPECT_EQ(built, file) << what;
        CLayoutJsonWriter again = Writer(pictureFiles);
        std::string second;
        ASSERT_TRUE(FileToJson(built, raw, again, second, reason)) << what << ": " << reason;
        EXPECT_EQ(second, json) << what;
    }

    const CCodePageGuard m_codePage{"1252"};
    fs::path m_dir;
};

} // namespace

TEST_F(LayoutJsonTest, WrittenThenReadGivesTheSameBytes)
{
    TLayout small;
    small.controlName = u"Hall";
    small.images.AddImage(u"Plate", SamplePicture(8, 4, 90));
    auto page = std::make_unique<TUserPage>(u"Lobby", small.pages.NextPageId());
    auto button = std::make_unique<TUserButton>();
    button->SetRect({10, 20, 60, 30});
    button->upFace = {kFaceImage, 10000};
    button->downText = MakeTextField(u"ON");
    page->AppendObject(std::move(button));
    small.pages.InsertPage(std::move(page));

    TLayout empty;
    TLayout every = EveryRecord();
    TLayout odd = OddValues();
    const std::vector<uint8_t> everyImage = every.SaveToBytes();
    const std::vector<uint8_t> lobby =
        StoreUserPage(every, dynamic_cast<const TUserPage&>(*every.pages.At(0)));
    const struct
    {
        const char* what;
        std::vector<uint8_t> file;
        bool raw;
    } cases[] = {
        {"small", TemplateBytes(small.SaveToBytes()), false},
        {"empty", TemplateBytes(empty.SaveToBytes()), false},
        {"every record", TemplateBytes(everyImage), false},
        {"odd values", TemplateBytes(odd.SaveToBytes()), false},
        {"bare image", everyImage, true},
        {"user page", lobby, false},
    };
    for (const auto& c : cases)
        for (bool pictureFiles : {false, true})
            ExpectRoundTrip(c.file, c.raw, pictureFiles,
                            c.what + std::string(pictureFiles ? " with files" : ""));
}

TEST_F(LayoutJsonTest, OlderVersionsComeBackAsVersionSevenWithTheirDefaults)
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
        const std::vector<uint8_t> old = image(version);
        CLayoutJsonWriter writer;
        std::string json;
        std::string reason;
        ASSERT_TRUE(FileToJson(TemplateBytes(old), false, writer, json, reason)) << what << ": " << reason;
        std::vector<uint8_t> built;
        TBuildProblem problem;
        ASSERT_TRUE(JsonToFile(json, "", {}, built, problem)) << what << ": " << Where(json, problem);
        ASSERT_GT(built.size(), 8u);
        EXPECT_EQ(built[4], 7) << what;
        // The built file is the one our store makes of the old layout, and it gives the same JSON.
        TLayout loaded;
        ASSERT_TRUE(loaded.LoadFromBuffer(old.data(), static_cast<int32_t>(old.size()), nullptr, true));
        EXPECT_EQ(built, TemplateBytes(loaded.SaveToBytes())) << what;
        std::string again;
        ASSERT_TRUE(FileToJson(built, false, writer, again, reason));
        EXPECT_EQ(again, json) << what;

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

TEST_F(LayoutJsonTest, FilesThatAreNoLayoutAreRefused)
{
    const auto bytes = [](std::initializer_list<uint8_t> b) { return std::vector<uint8_t>(b); };
    const struct
    {
        std::vector<uint8_t> file;
        bool raw;
        std::string reason;
    } cases[] = {
        {bytes({0xD5, 0xCA, 0xAD, 0xAB}), false, "not a QEL-1 template or user page (too short)"},
        {bytes({'P', 'K', 3, 4, 0, 0}), false, "not a QEL-1 template or user page (wrong magic number)"},
        {bytes({0xD5, 0xCA, 0xAD, 0xAB, 7, 0, 0, 0, 9}), false, "damaged layout data"},
        {bytes({0xD6, 0xCA, 0xAD, 0xAB, 1, 0, 0, 0}), false, "damaged user page data"},
        {bytes({7, 0, 0}), true, "damaged layout data"},
    };
    for (const auto& c : cases)
    {
        CLayoutJsonWriter writer;
        std::string json = "kept";
        std::string reason;
        EXPECT_FALSE(FileToJson(c.file, c.raw, writer, json, reason)) << c.reason;
        EXPECT_EQ(reason, c.reason);
        EXPECT_EQ(json, "kept");
    }
}

// Ids left out are given as the editor gives them: a user page the one after
// the largest, a picture the next free one; a GUID is made.
TEST_F(LayoutJsonTest, MembersLeftOutTakeWhatANewRecordHas)
{
    std::unique_ptr<CImageBuffer> picture = SamplePicture(6, 5, 1);
    const std::string png = PngBase64(*picture);
    const std::string text = R"({"pages": [{"type": 8}, {"type": 8, "id": 10005}, {"type": 9}, {"type": 8,
        "objects": [{"type": 1}, {"type": 4, "target": 10005}]}],
        "images": [{"png": ")" +
                             png + R"("}, {"id": 10007, "name": "Seven"}, {"png": ")" + png + R"("}]})";
    TJsonValue root;
    TJsonProblem problem;
    ASSERT_TRUE(ParseJsonText(text, root, problem));
    CLayoutJsonReader reader("", {});
    TJsonBuilt built;
    ASSERT_TRUE(reader.Read(root, built))
        << LineColumn(text, reader.Problem().offset) << ": " << reader.Problem().message;
    EXPECT_EQ(built.kind, "template");
    const TLayout& layout = *built.layout;
    const TLayout fresh;
    EXPECT_EQ(layout.controlName, fresh.controlName);
    EXPECT_EQ(layout.sleepTimeout, fresh.sleepTimeout);
    EXPECT_EQ(layout.defaultPage, fresh.defaultPage);
    ASSERT_EQ(layout.pages.Size(), 4u);
    const int32_t pageIds[] = {10006, 10005, -1, 10007};
    for (size_t i = 0; i < std::size(pageIds); ++i)
        EXPECT_EQ(layout.pages.At(i)->id, pageIds[i]) << i;
    const auto& objects = dynamic_cast<const TUserPage&>(*layout.pages.At(3)).objects;
    ASSERT_EQ(objects.size(), 2u);
    const TUserButton& button = dynamic_cast<const TUserButton&>(*objects[0]);
    EXPECT_EQ(button.upFace, TUserButton().upFace);
    EXPECT_EQ(button.downText, TTextField{});
    EXPECT_EQ(dynamic_cast<const TUserHotspot&>(*objects[1]).targetPage, 10005);

    const int32_t imageIds[] = {10008, 10007, 10009};
    for (int32_t id : imageIds)
    {
        const TImageEntry* entry = layout.images.FindImage(id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_NE(entry->guid, TGuid{}) << id;
        EXPECT_EQ(entry->image != nullptr, id != 10007) << id;
    }
    EXPECT_NE(layout.images.FindImage(10008)->guid, layout.images.FindImage(10009)->guid);
    EXPECT_EQ(layout.images.FindImage(10007)->name, u"Seven");
    EXPECT_EQ(layout.images.FindImage(10009)->image->Data().width, 6);
}

TEST_F(LayoutJsonTest, WhatNoLayoutCanBeIsRefusedWhereItStands)
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
        {"[]", "1:1: a layout must be a JSON object"},
        {page("{\"type\": 1, \"left\": \"x\"}"), "4:16: \"left\" must be an integer"},
        {page("{\"type\": 1, \"width\": 1.5}"), "4:16: \"width\" must be an integer"},
        {page("{\"type\": 1, \"top\": 2147483648}"), "4:16: \"top\" must be from -2147483648 to 2147483647"},
        {page("{\"type\": 1, \"left\": 1, \"left\": 2}"), "4:27: \"left\" is given twice"},
        {page("{\"type\": 1, \"lefft\": 3}"), "4:16: unknown member \"lefft\""},
        {page("{\"left\": 3}"),
         "4:4: each object needs its \"type\": 1 button, 2 level slider, 3 image, 4 hot spot"},
        {page("7"), "4:4: each object must be an object"},
        {page("{\"type\": 1, \"toggle\": 1}"), "4:16: \"toggle\" must be true or false"},
        {page("{\"type\": 1, \"downEvent\": \"" + std::string(80, 'a') + "\"}"),
         "4:16: \"downEvent\" is 80 bytes in CP1252; its field holds 79"},
        {page("{\"type\": 1, \"upEvent\": \"\u4e2d\"}"),
         "4:16: \"upEvent\" holds characters that CP1252 cannot write"},
        {page("{\"type\": 1, \"upEvent\": {\"text\": \"A\", \"bytes\": \"4200\"}}"),
         "4:28: \"text\" is not what \"bytes\" holds; to change the text, remove \"bytes\""},
        {page("{\"type\": 1, \"upFace\": {\"type\": 2, \"colour1\": -1}}"),
         "4:38: \"colour1\" must be from 0 to 4294967295"},
        {page("{\"type\": 1, \"upFace\": [2]}"), "4:16: \"upFace\" must be an object"},
        {"{\"manualBrightness\": 256}", "1:2: \"manualBrightness\" must be from 0 to 255"},
        {"{\"controlName\": 7}", "1:2: \"controlName\" must be a string"},
        {"{\"pages\": {}}", "1:2: \"pages\" must be a list"},
        {"{\"pages\": [8]}", "1:12: each page must be an object"},
        {"{\"pages\": [{\"id\": 3}]}",
         "1:12: each page needs its \"type\": 8 for a user page, 9 for an eight-button page"},
        {"{\"pages\": [{\"type\": 7}]}",
         "1:13: \"type\" must be 8 (a user page) or 9 (an eight-button page)"},
        {"{\"pages\": [{\"type\": 9, \"buttons\": [{}, {}, {}, {}, {}, {}, {}, {}, {}]}]}",
         "1:24: \"buttons\" lists 9 buttons; an eight-button page has 8"},
        {"{\"kind\": \"picture\"}", "1:2: \"kind\" must be \"template\", \"layout\" or \"userpage\""},
        {"{\"kind\": \"userpage\"}", "1:1: a user page file needs its \"page\""},
        {"{\"kind\": \"userpage\", \"page\": {\"type\": 9}}",
         "1:22: the page of a user page file must be a user page (type 8)"},
        {"{\"events\": [{}" +
             []
             {
                 std::string more;
                 for (int i = 0; i < 24; ++i)
                     more += ",{}";
                 return more;
             }() +
             "]}",
         "1:2: \"events\" lists 25 events; there are 24"},
        {"{\"events\": [[]]}", "1:13: each event must be an object"},
        {"{\"images\": [{\"id\": 10000, \"file\": \"pictures/none.png\"}]}",
         "1:27: pictures/none.png: cannot open file (no such file or directory)"},
        {"{\"images\": [{\"file\": \"\"}]}", "1:14: \"file\" must name a picture file"},
        {"{\"images\": [{\"png\": \"\", \"file\": \"a.png\"}]}",
         "1:25: a picture takes \"file\" or \"png\", not both"},
        {"{\"images\": [{\"png\": \"not base64!\"}]}", "1:14: \"png\" must be base64"},
        {"{\"images\": [{\"png\": \"aGVsbG8=\"}]}", "1:14: \"png\" does not hold a PNG picture"},
        {"{\"images\": [{\"id\": 5}]}", "1:14: \"id\" of an added picture must be 10000 or more"},
        {"{\"images\": [{\"guid\": \"{1234}\"}]}",
         "1:14: \"guid\" must read {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in hex digits"},
        {"{\"pages\": [1 2]}",
         "1:14: syntax error while parsing array: unexpected number literal; expected ']'"},
    };
    for (const auto& c : cases)
    {
        std::vector<uint8_t> bytes = {1, 2, 3};
        TBuildProblem problem;
        EXPECT_FALSE(JsonToFile(c.json, m_dir.string(), {}, bytes, problem)) << c.json;
        EXPECT_TRUE(problem.hasOffset) << c.json;
        EXPECT_EQ(Where(c.json, problem), c.message) << c.json;
        EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3})) << c.json;
    }
}

// Too large for what it is: a problem of the file, not of a place in the text.
TEST_F(LayoutJsonTest, WhatDoesNotFitIsRefusedAsAWhole)
{
    const std::string picture = "{\"png\": \"" + PngBase64(*NoisePicture()) + "\"}";
    const std::string three = "[" + picture + ", " + picture + ", " + picture + "]";
    const struct
    {
        std::string json;
        std::string message;
    } cases[] = {
        {"{\"kind\": \"template\", \"images\": " + three + "}",
         "layout too large for a template (over 500000 bytes)"},
        {"{\"kind\": \"layout\", \"images\": " + three + "}",
         "layout too large to upload (over 512000 bytes)"},
        {"{\"kind\": \"userpage\", \"page\": {\"type\": 8}, \"images\": [" + picture + ", " + picture + "]}",
         "the page with its pictures is "},
    };
    for (const auto& c : cases)
    {
        std::vector<uint8_t> bytes;
        TBuildProblem problem;
        EXPECT_FALSE(JsonToFile(c.json, "", {}, bytes, problem)) << c.message;
        EXPECT_FALSE(problem.hasOffset) << c.message;
        EXPECT_THAT(problem.message, ::testing::StartsWith(c.message));
        EXPECT_TRUE(bytes.empty()) << c.message;
    }
}

// Pictures as files: named after their descriptions, each name once for
// each picture, never one taken by other bytes, and named in the JSON from
// the JSON's folder. One larger than the screen stays in the JSON, as a file
// would be scaled to fit when read.
TEST_F(LayoutJsonTest, PictureFilesAreNamedAfterTheirDescriptions)
{
    TLayout layout;
    layout.images.AddImage(u"Wall plate #2", SamplePicture(10, 10, 2)); // 10000
    layout.images.AddImage(u"Logo", SamplePicture(16, 8, 1));           // 10001
    layout.images.AddImage(u"Logo", SamplePicture(16, 8, 3));           // 10002: other bytes
    layout.images.AddImage(u"logo", SamplePicture(16, 8, 1));           // 10003: the same bytes
    layout.images.AddImage(u"\u4e2d", SamplePicture(4, 4, 4));          // 10004: no letter to name it by
    layout.images.AddImage(u"Taken", SamplePicture(5, 5, 5));           // 10005: the name is taken on disk
    layout.images.AddImage(u"Huge", SamplePicture(321, 10, 6));         // 10006
    layout.images.AddImage(u"Empty", nullptr);                          // 10007

    CLayoutJsonWriter writer((m_dir / "out" / "pictures").string(), (m_dir / "out").string());
    writer.SetNameTaken([](const std::string& path, const std::vector<uint8_t>&)
                        { return fs::path(path).filename() == "taken.png"; });
    const nlohmann::json json = nlohmann::json::parse(PrintJson(writer.Layout("template", layout)));
    const std::pair<int32_t, const char*> named[] = {
        {10000, "pictures/wall-plate-2.png"},
        {10001, "pictures/logo.png"},
        {10002, "pictures/logo-10002.png"},
        {10003, "pictures/logo.png"},
        {10004, "pictures/picture-10004.png"},
        {10005, "pictures/taken-10005.png"},
        {10006, nullptr},
        {10007, nullptr},
    };
    ASSERT_EQ(json["images"].size(), std::size(named));
    for (size_t i = 0; i < std::size(named); ++i)
    {
        const nlohmann::json& image = json["images"][i];
        EXPECT_EQ(image["id"], named[i].first);
        if (named[i].second != nullptr)
            EXPECT_EQ(image.value("file", ""), named[i].second) << named[i].first;
        else
            EXPECT_FALSE(image.contains("file")) << named[i].first;
    }
    EXPECT_TRUE(json["images"][6].contains("png"));
    EXPECT_FALSE(json["images"][7].contains("png"));
    EXPECT_EQ(writer.PictureFiles().size(), 5u);
    EXPECT_EQ(writer.PictureFiles()[1].path, (m_dir / "out" / "pictures" / "logo.png").string());
}
