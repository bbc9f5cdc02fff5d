// qelctl diff on a handful of pairs: the words, and the exit status.

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
#include <functional>
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

TUserPage& Lobby(TLayout& layout)
{
    return dynamic_cast<TUserPage&>(*layout.pages.At(0));
}

} // namespace

TEST(DiffCommand, SaysWhatChangedPageByPageAndObjectByObject)
{
    const fs::path dir = fs::temp_directory_path() / ("qel-diff-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const struct
    {
        const char* what;
        std::function<void(TLayout&)> edit;
        std::string lines;
    } cases[] = {
        {"nothing", [](TLayout&) {}, ""},
        {"a button moved and resized",
         [](TLayout& l)
         {
             TUserObject& b = *Lobby(l).objects[0];
             b.left = 80;
             b.top = 70;
             b.width = 61;
         },
         "page \"Lobby\": button 1 moved from 40,50 to 80,70\n"
         "page \"Lobby\": button 1 resized from 60x30 to 61x30\n"},
        {"a button's event and a hot spot's target",
         [](TLayout& l)
         {
             dynamic_cast<TUserButton&>(*Lobby(l).objects[0]).downText = MakeTextField(u"OFF");
             dynamic_cast<TUserHotspot&>(*Lobby(l).objects[1]).targetPage = 2;
         },
         "page \"Lobby\": button 1 down event changed from \"ON\" to \"OFF\"\n"
         "page \"Lobby\": hot spot 2 target page changed from -1 to 2\n"},
        {"the picture redrawn, a setting, an event",
         [](TLayout& l)
         {
             l.images.FindImage(10000)->image = Picture(200);
             l.controlName = u"Hall";
             l.eventTexts[2] = MakeTextField(u"SCENE 3");
         },
         "control name changed from \"Lounge\" to \"Hall\"\n"
         "picture 10000 replaced\n"
         "event 3 text changed from \"\" to \"SCENE 3\"\n"},
        {"a page added, an object removed",
         [](TLayout& l)
         {
             Lobby(l).objects.pop_back();
             l.pages.InsertPage(std::make_unique<TUserPage>(u"Bar", l.pages.NextPageId()));
         },
         "page \"Lobby\": hot spot 2 removed\n"
         "page \"Bar\" added at position 2\n"},
    };
    TLayout before = Base();
    ASSERT_TRUE(SaveTemplateFile(before, (dir / "a.qel").string()));
    for (const auto& c : cases)
    {
        TLayout after;
        ASSERT_TRUE(LoadTemplateFile(after, (dir / "a.qel").string()));
        c.edit(after);
        ASSERT_TRUE(SaveTemplateFile(after, (dir / "b.qel").string()));
        const TQelctlRun run =
            RunQelctl("diff '" + (dir / "a.qel").string() + "' '" + (dir / "b.qel").string() + "'", dir);
        EXPECT_EQ(run.out, c.lines) << c.what;
        EXPECT_EQ(run.status, c.lines.empty() ? 0 : 1) << c.what;
        EXPECT_EQ(run.err, "") << c.what;
    }
    fs::remove_all(dir);
}

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
