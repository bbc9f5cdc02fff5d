// qelctl dump and build as each other's inverse, and how build refuses: the
// text form itself is tested in-process in tests/textform.

#include "QelctlRun.h"
#include "SampleLayouts.h"

#include "UserPageFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

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
    TLayout every = EveryRecord();
    const std::vector<uint8_t> everyImage = every.SaveToBytes();
    const TUserPage& lobby = dynamic_cast<const TUserPage&>(*every.pages.At(0));
    Write("every.qel", TemplateBytes(everyImage));
    Write("every.bin", everyImage);
    Write("lobby.qup", StoreUserPage(every, lobby));

    const struct
    {
        const char* file;
        const char* options;
    } cases[] = {
        {"every.qel", "--pictures " /* beside the JSON */},
        {"every.bin", "--raw"},
        {"lobby.qup", ""},
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
    // Each object of a page on one line, so that a diff names the object.
    const std::string shown = Qelctl("dump " + Q("every.qel")).out;
    EXPECT_NE(shown.find("\n        {\"type\": 4, \"left\": 300, \"top\": 0, \"width\": 0, \"height\": 0, "
                         "\"target\": 2, \"reserved\": 0},\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("\"type\": 9,\n      \"id\": -1,\n      \"name\": \"Zones\""), std::string::npos);
}

TEST_F(BuildCommand, BadJsonIsOneLineNamingWhereAndNothingIsWritten)
{
    const struct
    {
        std::string json;
        std::string message;
    } cases[] = {
        {"",
         "1:1: syntax error while parsing value: unexpected end of input; expected '[', '{', or a literal"},
        {"{\"kind\": \"template\",\n \"pages\": [\n  {\"type\": 8, \"objects\": [\n   {\"type\": 1, "
         "\"lefft\": 3}\n  ]}\n ]\n}\n",
         "4:16: unknown member \"lefft\""},
        // Picture files are looked for beside the JSON.
        {"{\"images\": [{\"id\": 10000, \"file\": \"pictures/none.png\"}]}",
         "1:27: pictures/none.png: cannot open file (no such file or directory)"},
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

    // A layout too large for a template is the fault of the file it would make.
    uint8_t* png = nullptr;
    int32_t size = 0;
    ASSERT_TRUE(NoisePicture()->Encode(&png, &size, kFormatPng));
    Write("noise.png", std::vector<uint8_t>(png, png + size));
    std::free(png);
    WriteText(
        "rooms.json",
        "{\"images\": [{\"file\": \"noise.png\"}, {\"file\": \"noise.png\"}, {\"file\": \"noise.png\"}]}");
    const TQelctlRun run = Qelctl("build " + Q("rooms.json") + " -o " + Q("out.qel"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "qelctl: " + Path("out.qel") + ": layout too large for a template (over 500000 bytes)\n");
    EXPECT_EQ(ReadTextFile(Path("out.qel")), "keep me");
}
