// dump --textconv: the form a version control's diff shows of a template.

#include "QelctlRun.h"
#include "SampleLayouts.h"

#include "LayoutFile.h"
#include "UserPageFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(DumpTextconv, ReadsTheSameAcrossASaveAndShowsNoPictureBlocks)
{
    ::setenv("QEL_CODEPAGE", "1252", 1);
    const fs::path dir = fs::temp_directory_path() / ("qel-textconv-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const auto path = [&](const char* name) { return (dir / name).string(); };
    const auto q = [&](const char* name) { return "'" + path(name) + "'"; };
    const auto qelctl = [&](const std::string& arguments) { return RunQelctl(arguments, dir); };

    // Noise makes a picture block of some 300,000 characters.
    TLayout layout;
    layout.images.AddImage(u"Plate", SamplePicture(100, 60, 40));
    layout.images.AddImage(u"Noise", NoisePicture());
    layout.images.AddImage(u"Logo", SamplePicture(32, 16, 200));
    ASSERT_TRUE(SaveTemplateFile(layout, path("a.qel")).ok);
    // Loading links each picture at the head of the library, so a save
    // reverses the order.
    ASSERT_EQ(qelctl("resave " + q("a.qel") + " " + q("b.qel")).status, 0);
    ASSERT_NE(qelctl("dump " + q("a.qel")).out, qelctl("dump " + q("b.qel")).out);

    const TQelctlRun a = qelctl("dump --textconv " + q("a.qel"));
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(qelctl("dump --textconv " + q("b.qel")).out, a.out);
    EXPECT_EQ(a.out.rfind("{\n  \"kind\": \"template\",\n  \"textconv\": true,\n", 0), 0u) << a.out;
    EXPECT_EQ(a.out.find("\"png\""), std::string::npos);
    std::istringstream lines(a.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LT(line.size(), 250u) << line;
    // Pictures in id order, each with the size and digest of its PNG block:
    // the block export-image writes.
    size_t previous = 0;
    for (const char* id : {"10000", "10001", "10002"})
    {
        const size_t at = a.out.find("{\"id\": " + std::string(id));
        ASSERT_NE(at, std::string::npos) << id;
        EXPECT_GT(at, previous) << id;
        previous = at;
        const TQelctlRun png = RunShell(QelctlCommand("export-image " + q("a.qel") + " " + id + " -o -") +
                                            " | sha256sum | cut -c1-64",
                                        dir);
        const std::string digest = png.out.substr(0, 64);
        const size_t line = a.out.find('\n', at);
        EXPECT_NE(a.out.substr(at, line - at).find("\"pngSha256\": \"" + digest + "\""), std::string::npos)
            << id;
    }

    // A user page file reads the same way.
    TUserPage lobby(u"Lobby", 10000);
    auto image = std::make_unique<TUserImage>();
    image->face = {kFaceImage, 10001};
    lobby.AppendObject(std::move(image));
    const std::vector<uint8_t> qup = StoreUserPage(layout, lobby);
    const TQelctlRun page = RunQelctlPiped("dump --textconv -", std::string(qup.begin(), qup.end()), dir);
    ASSERT_EQ(page.status, 0) << page.err;
    EXPECT_EQ(page.out.rfind("{\n  \"kind\": \"userpage\",\n  \"textconv\": true,\n", 0), 0u) << page.out;
    EXPECT_NE(page.out.find("\"id\": 10001, \"name\": \"Noise\""), std::string::npos);
    EXPECT_EQ(page.out.find("\"png\""), std::string::npos);

    // It is for reading: build refuses it at its mark, and pictures go
    // nowhere else.
    const TQelctlRun built = RunQelctlPiped("build - -o " + q("c.qel"), a.out, dir);
    EXPECT_EQ(built.status, 1);
    EXPECT_EQ(built.err,
              "qelctl: standard input:3:3: this is the reading form of `qelctl dump --textconv`, which "
              "keeps only a digest of each picture; build takes what plain dump prints\n");
    EXPECT_FALSE(fs::exists(path("c.qel")));
    EXPECT_EQ(qelctl("dump --textconv --pictures " + q("pictures") + " " + q("a.qel")).status, 2);
    EXPECT_FALSE(fs::exists(path("pictures")));
    fs::remove_all(dir);
}
