// qelctl diff: its words and its exit status (the words themselves are tested
// in-process in tests/textform).

#include "QelctlRun.h"

#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

std::unique_ptr<CImageBuffer> Picture(uint8_t shade)
{
    auto image = std::make_unique<CImageBuffer>();
    image->Data().Create(20, 10, 24);
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 20; ++x)
            image->Data().SetColor(x, y, {shade, static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0});
    return image;
}

TLayout Base()
{
    TLayout layout;
    layout.controlName = u"Lounge";
    layout.images.AddImage(u"Plate", Picture(10));
    auto page = std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId());
    auto button = std::make_unique<TUserButton>();
    button->left = 40;
    button->top = 50;
    button->width = 60;
    button->height = 30;
    button->downText = MakeTextField(u"ON");
    page->AppendObject(std::move(button));
    page->AppendObject(std::make_unique<TUserHotspot>());
    layout.pages.InsertPage(std::move(page));
    return layout;
}

} // namespace

// A damaged file may hold pages that share an id: they pair by their order,
// so a file compared with itself is the same, and build gives it back whole.
TEST(DiffCommand, PagesSharingAnIdPairByTheirOrder)
{
    const fs::path dir = fs::temp_directory_path() / ("qel-diff-twins-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto path = [&dir](const char* name) { return "'" + (dir / name).string() + "'"; };
    TLayout twins = Base();
    for (const char16_t* name : {u"Lobby 2", u"Lobby 3"})
        twins.pages.InsertPage(std::make_unique<TUserPage>(name, 10000));
    ASSERT_TRUE(SaveTemplateFile(twins, (dir / "a.qel").string()));
    twins.pages.At(2)->name = u"Lobby three";
    ASSERT_TRUE(SaveTemplateFile(twins, (dir / "b.qel").string()));

    TQelctlRun run = RunQelctl("diff " + path("a.qel") + " " + path("a.qel"), dir);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.status, 0);
    run = RunQelctl("diff " + path("a.qel") + " " + path("b.qel"), dir);
    EXPECT_EQ(run.out, "page \"Lobby 3\" renamed to \"Lobby three\"\n");
    EXPECT_EQ(run.status, 1);
    // A file that cannot be compared is trouble, not a difference.
    run = RunQelctl("diff " + path("a.qel") + " " + path("missing.qel"), dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("missing.qel"), std::string::npos) << run.err;

    ASSERT_EQ(RunQelctl("dump " + path("a.qel") + " -o " + path("a.json"), dir).status, 0);
    run = RunQelctl("build " + path("a.json") + " -o " + path("c.qel"), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadTextFile((dir / "c.qel").string()), ReadTextFile((dir / "a.qel").string()));
    fs::remove_all(dir);
}
