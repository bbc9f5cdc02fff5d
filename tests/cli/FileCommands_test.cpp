#include "QelctlRun.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "UserButton.h"
#include "UserPage.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

using TRun = TQelctlRun;

class FileCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qel-filecmd-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    TRun Qelctl(const std::string& arguments) const { return RunQelctl(arguments, m_dir); }

    std::string Q(const std::string& name) const { return "'" + Path(name) + "'"; }

    fs::path m_dir;
};

} // namespace

TEST_F(FileCommands, EveryCommandOnRealFiles)
{
    // A 640 x 200 picture, which add-image fits to 320 x 100.
    CImageBuffer wide;
    ASSERT_TRUE(wide.Data().Create(640, 200, 24));
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 640; ++x)
            wide.Data().SetColor(x, y, {static_cast<uint8_t>(x), static_cast<uint8_t>(y), 90, 0});
    uint8_t* png = nullptr;
    int32_t size = 0;
    ASSERT_TRUE(wide.Encode(&png, &size, kFormatPng));
    std::ofstream(Path("wide.png"), std::ios::binary).write(reinterpret_cast<const char*>(png), size);
    std::free(png);

    TRun run = Qelctl("new " + Q("t.qel"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fs::file_size(Path("t.qel")), 3898u);

    run = Qelctl("add-image " + Q("t.qel") + " " + Q("wide.png") + " --name 'Wide view'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "10000\n");

    // A page that wears the new picture on both faces of a button.
    {
        TLayout layout;
        ASSERT_TRUE(LoadTemplateFile(layout, Path("t.qel")).ok);
        layout.controlName = u"Caf\u00e9";
        auto page = std::make_unique<TUserPage>(u"Main", layout.pages.NextPageId());
        auto button = std::make_unique<TUserButton>();
        button->upFace = {kFaceImage, 10000};
        button->downFace = {kFaceImage, 10000};
        page->AppendObject(std::move(button));
        layout.pages.InsertPage(std::move(page));
        ASSERT_TRUE(SaveTemplateFile(layout, Path("t.qel")).ok);
    }

    run = Qelctl("dump " + Q("t.qel"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"kind\": \"template\""), std::string::npos);
    EXPECT_NE(run.out.find("\"controlName\": \"Caf\xc3\xa9\""), std::string::npos);
    EXPECT_NE(run.out.find("\"name\": \"Wide view\", \"guid\": \"{"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"width\": 320, \"height\": 100, \"png\": \"iVBOR"), std::string::npos) << run.out;
    // The glyph table is rebuilt on every store, so the JSON leaves it out.
    EXPECT_EQ(run.out.find("glyph"), std::string::npos);

    run = Qelctl("export-page " + Q("t.qel") + " Main -o " + Q("p.qup"));
    ASSERT_EQ(run.status, 0) << run.err;
    run = Qelctl("dump " + Q("p.qup"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"kind\": \"userpage\""), std::string::npos);
    // The picture is on both faces of the button, so it is written twice.
    const std::string picture = "\"id\": 10000, \"name\": \"Wide view\"";
    ASSERT_NE(run.out.find(picture), std::string::npos);
    EXPECT_NE(run.out.find(picture), run.out.rfind(picture));

    run = Qelctl("import-page " + Q("t.qel") + " " + Q("p.qup") + " -o " + Q("u.qel"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "page 2 id 10001\n");
    run = Qelctl("dump " + Q("u.qel"));
    EXPECT_EQ(run.out.find("\"guid\""), run.out.rfind("\"guid\""));  // the picture was not added again

    run = Qelctl("export-image " + Q("u.qel") + " 10000 -o " + Q("x.png"));
    ASSERT_EQ(run.status, 0) << run.err;
    CImageBuffer back;
    ASSERT_TRUE(back.Load(Path("x.png")));
    EXPECT_EQ(back.GetWidth(), 320u);

    // A bare image as uploaded: the template without its magic.
    const std::string qel = ReadTextFile(Path("u.qel"));
    std::ofstream(Path("raw.bin"), std::ios::binary) << qel.substr(4);
    run = Qelctl("resave --raw " + Q("raw.bin") + " " + Q("r.qel"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadTextFile(Path("r.qel")), qel);
}

TEST_F(FileCommands, FailuresSayWhyAndTouchNothing)
{
    std::ofstream(Path("bad.qel"), std::ios::binary) << "not a template at all";
    std::ofstream(Path("out.qel"), std::ios::binary) << "keep me";

    TRun run = Qelctl("resave " + Q("bad.qel") + " " + Q("out.qel"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "qelctl: " + Path("bad.qel") + ": not a QEL-1 template (wrong magic number)\n");
    EXPECT_EQ(ReadTextFile(Path("out.qel")), "keep me");

    run = Qelctl("dump " + Q("missing.qel"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");

    ASSERT_EQ(Qelctl("new " + Q("t.qel")).status, 0);
    const std::pair<const char*, std::string> usage[] = {
        {"no -o", "export-image " + Q("t.qel") + " 1"},
        {"id not a number", "export-image " + Q("t.qel") + " one -o " + Q("x.png")},
        {"unknown option", "dump --fast " + Q("t.qel")},
        {"no --name", "add-image " + Q("t.qel") + " " + Q("t.qel")},
    };
    for (const auto& [what, arguments] : usage)
        EXPECT_EQ(Qelctl(arguments).status, 2) << what;

    run = Qelctl("export-page " + Q("t.qel") + " 1 -o " + Q("p.qup"));
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(fs::exists(Path("p.qup")));

    // The reasons are those of the Add Image dialog: a PNG whose header
    // announces 20000 x 10 pixels.
    {
        std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                    0,    0,   0,   13,  'I',  'H',  'D',  'R'};
        const auto big = [&png](uint32_t value)
        {
            for (int shift : {24, 16, 8, 0})
                png.push_back(static_cast<uint8_t>(value >> shift));
        };
        big(20000);
        big(10);
        png.insert(png.end(), {8, 2, 0, 0, 0});
        big(static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
        png.insert(png.end(), {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E});
        std::ofstream(Path("huge.png"), std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    }
    const std::pair<std::string, std::string> reasons[] = {
        {"huge.png",
         "picture too large (20000 \u00D7 10; at most 16384 pixels on a side and 64 million pixels)"},
        {"bad.qel", "not a picture in a format we read"},
        {"none.png", "cannot open file (no such file or directory)"},
    };
    for (const auto& [file, reason] : reasons)
    {
        run = Qelctl("add-image " + Q("t.qel") + " " + Q(file) + " --name x");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "qelctl: " + Path(file) + ": " + reason + "\n");
    }

    // A page whose file an import would refuse is not exported.
    {
        TLayout layout;
        layout.pages.InsertPage(std::make_unique<TUserPage>(std::u16string(150001, u'x'), 10000));
        ASSERT_TRUE(SaveTemplateFile(layout, Path("big.qel")).ok);
    }
    run = Qelctl("export-page " + Q("big.qel") + " 1 -o " + Q("p.qup"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "qelctl: " + Path("p.qup") +
                  ": the page with its pictures is 300,046 bytes, more than the 300,000 a user page file "
                  "may have to be imported\n");
    EXPECT_FALSE(fs::exists(Path("p.qup")));
    EXPECT_EQ(Qelctl("dump --help").status, 0);
}

// A pipe, a directory or a device given as a file is refused at once: none
// is ever read, and opening a pipe would wait for a writer.
TEST_F(FileCommands, FilesThatAreNoRegularFilesAreRefusedAtOnce)
{
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    fs::create_directories(Path("folder"));
    ASSERT_EQ(Qelctl("new " + Q("t.qel")).status, 0);
    std::ofstream(Path("pictures.json")) << R"({"kind": "template", "images": [{"id": 10000, "file": "pipe"}]})";
    for (const std::string& input : {Q("pipe"), Q("folder"), std::string("/dev/zero")})
    {
        for (const std::string& command :
             {"dump " + input, "resave " + input + " " + Q("o.qel"), "add-image " + Q("t.qel") + " " + input + " --name x",
              "firmware --port /dev/null " + input})
        {
            const TRun run = Qelctl(command);
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << command << ": " << run.err;
        }
    }
    const TRun build = Qelctl("build " + Q("pictures.json") + " -o " + Q("o.qel"));
    EXPECT_EQ(build.status, 1);
    EXPECT_NE(build.err.find("pipe: not a regular file"), std::string::npos) << build.err;
    EXPECT_FALSE(fs::exists(Path("o.qel")));
}

// dump --pictures never replaces a file of other bytes (the installer's
// full-size source, say): the picture takes the next free name and the JSON
// names that. A file holding the picture's own bytes is left as it is.
TEST_F(FileCommands, DumpPicturesTakeTheNextFreeNameBesideFilesOfOtherBytes)
{
    CImageBuffer small;
    ASSERT_TRUE(small.Data().Create(40, 30, 24));
    uint8_t* png = nullptr;
    int32_t size = 0;
    ASSERT_TRUE(small.Encode(&png, &size, kFormatPng));
    std::ofstream(Path("plate.png"), std::ios::binary).write(reinterpret_cast<const char*>(png), size);
    std::free(png);
    ASSERT_EQ(Qelctl("new " + Q("t.qel")).status, 0);
    ASSERT_EQ(Qelctl("add-image " + Q("t.qel") + " " + Q("plate.png") + " --name 'Wall plate'").status, 0);
    ASSERT_EQ(Qelctl("dump " + Q("t.qel") + " --pictures " + Q("first") + " -o " + Q("first.json")).status,
              0);
    const std::string picture = ReadTextFile(Path("first/wall-plate.png"));
    ASSERT_FALSE(picture.empty());

    struct TCase
    {
        const char* name;
        std::vector<std::pair<std::string, std::string>> before; // files already in the folder
        std::string named;                                       // the file the JSON names
    };
    const std::string source = "the installer's full-size source";
    const TCase cases[] = {
        {"empty folder", {}, "wall-plate.png"},
        {"same bytes", {{"wall-plate.png", picture}}, "wall-plate.png"},
        {"other bytes", {{"wall-plate.png", source}}, "wall-plate-10000.png"},
        {"both names taken",
         {{"wall-plate.png", source}, {"wall-plate-10000.png", source}},
         "wall-plate-10000-2.png"},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        fs::remove_all(Path("pics"));
        fs::create_directories(Path("pics"));
        for (const auto& [name, bytes] : c.before)
        {
            std::ofstream(Path("pics/" + name), std::ios::binary) << bytes;
            fs::last_write_time(Path("pics/" + name),
                                fs::file_time_type::clock::now() - std::chrono::hours(1));
        }
        std::vector<fs::file_time_type> times;
        for (const auto& [name, bytes] : c.before)
            times.push_back(fs::last_write_time(Path("pics/" + name)));

        const TRun run = Qelctl("dump " + Q("t.qel") + " --pictures " + Q("pics") + " -o " + Q("t.json"));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(ReadTextFile(Path("t.json")).find("\"file\": \"pics/" + c.named + "\""), std::string::npos)
            << ReadTextFile(Path("t.json"));
        EXPECT_EQ(ReadTextFile(Path("pics/" + c.named)), picture);
        for (size_t i = 0; i < c.before.size(); ++i)
        {
            EXPECT_EQ(ReadTextFile(Path("pics/" + c.before[i].first)), c.before[i].second);
            EXPECT_EQ(fs::last_write_time(Path("pics/" + c.before[i].first)), times[i]) << c.before[i].first;
        }
        // Built back, the JSON gives the same template.
        ASSERT_EQ(Qelctl("build " + Q("t.json") + " -o " + Q("back.qel")).status, 0);
        EXPECT_EQ(ReadTextFile(Path("back.qel")), ReadTextFile(Path("t.qel")));
    }
}

// What the programs write goes only to plain files they may write: one line
// says why not, and the target stays as it was.
TEST_F(FileCommands, WritesAreRefusedOnTargetsThatAreNoWritableFiles)
{
    ASSERT_EQ(Qelctl("new " + Q("t.qel")).status, 0);
    ASSERT_EQ(Qelctl("new " + Q("kept.qel")).status, 0);
    ASSERT_EQ(::chmod(Path("kept.qel").c_str(), 0444), 0);
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);
    const bool haveNode = ::mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    struct TCase
    {
        std::string target;
        std::string reason;
    };
    std::vector<TCase> cases = {{"kept.qel", "permission denied"}, {"fifo", "not a regular file"}};
    if (haveNode)
        cases.push_back({"null", "not a regular file"});
    const std::string before = ReadTextFile(Path("kept.qel"));
    for (const TCase& c : cases)
    {
        const TRun run = Qelctl("resave " + Q("t.qel") + " " + Q(c.target));
        EXPECT_EQ(run.status, 1) << c.target;
        EXPECT_EQ(run.err, "qelctl: " + Path(c.target) + ": " + c.reason + "\n");
    }
    EXPECT_EQ(ReadTextFile(Path("kept.qel")), before);
    EXPECT_TRUE(fs::is_fifo(Path("fifo")));
    if (haveNode)
    {
        EXPECT_TRUE(fs::is_character_file(Path("null")));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), {}), haveNode ? 6 : 5); // no temporary file left
}
