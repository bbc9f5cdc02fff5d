// qelctl check: one line a finding, errors told from warnings, the exit
// status, and the same findings as JSON.

#include "QelctlRun.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserPage.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

// The Lobby and the Bar lead to each other; the Lobby's button looks pressed.
TLayout Clean()
{
    TLayout layout;
    auto& lobby = static_cast<TUserPage&>(
        *layout.pages.InsertPage(std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId())));
    auto& bar = static_cast<TUserPage&>(
        *layout.pages.InsertPage(std::make_unique<TUserPage>(u"Bar", layout.pages.NextPageId())));
    auto button = std::make_unique<TUserButton>();
    button->SetRect({10, 10, 40, 30});
    button->downFace.type = kFaceColour;
    button->downFace.param = kColourSingle;
    lobby.AppendObject(std::move(button));
    auto there = std::make_unique<TUserHotspot>();
    there->SetRect({100, 100, 45, 30});
    there->targetPage = bar.id;
    lobby.AppendObject(std::move(there));
    auto back = std::make_unique<TUserHotspot>();
    back->SetRect({0, 0, 45, 30});
    back->targetPage = TUserHotspot::kReturnToPrevious;
    bar.AppendObject(std::move(back));
    return layout;
}

TUserPage& Lobby(TLayout& layout)
{
    return static_cast<TUserPage&>(*layout.pages.At(0));
}

class CheckCommand : public ::testing::Test
{
protected:
    CheckCommand() { fs::create_directories(m_dir); }
    ~CheckCommand() override { fs::remove_all(m_dir); }

    std::string Save(TLayout layout)
    {
        const std::string path = (m_dir / "lobby.qel").string();
        EXPECT_TRUE(SaveTemplateFile(layout, path));
        return path;
    }

    const fs::path m_dir = fs::temp_directory_path() / ("qel-check-" + std::to_string(::getpid()));
};

TEST_F(CheckCommand, OneLineAFindingAndExitOneOnlyForAnError)
{
    const struct
    {
        const char* what;
        std::function<void(TLayout&)> edit;
        std::string lines;
        int status;
    } cases[] = {
        {"nothing to find", [](TLayout&) {}, "", 0},
        {"warnings only",
         [](TLayout& l)
         {
             Lobby(l).objects[0]->top = 220;
             static_cast<TUserButton&>(*Lobby(l).objects[0]).downFace.type = kFaceBlank;
         },
         "FILE: warning: page \"Lobby\": button at 10,220 (40 x 30) lies partly off the 320 x 240 screen\n"
         "FILE: warning: page \"Lobby\": button at 10,220 has a blank down face and never looks pressed\n",
         0},
        {"an error among warnings",
         [](TLayout& l)
         {
             static_cast<TUserHotspot&>(*Lobby(l).objects[1]).targetPage = 10007;
             l.pages.At(1)->name = u"Bar\n";
         },
         "FILE: error: page \"Lobby\": hot spot at 100,100 leads to page 10007, which does not exist\n"
         "FILE: warning: page \"Lobby\": no hot spot leads to another page or back (\"Return to Previous\")\n"
         "FILE: error: page \"Bar\\x0A\": page name has a character the panel cannot show: U+000A\n"
         "FILE: warning: page \"Bar\\x0A\": no hot spot leads here from the first page\n",
         1},
        {"a copy of a page with its id",
         [](TLayout& l)
         {
             auto copy = std::make_unique<TUserPage>(u"Lobby copy", 10000);
             auto back = std::make_unique<TUserHotspot>();
             back->targetPage = TUserHotspot::kReturnToPrevious;
             copy->AppendObject(std::move(back));
             l.pages.InsertPage(std::move(copy));
         },
         "FILE: error: page \"Lobby copy\": has id 10000, as page \"Lobby\" (1) has; hot spots and the "
         "default "
         "page lead only to that one\n"
         "FILE: warning: page \"Lobby copy\": no hot spot leads here from the first page\n",
         1},
    };
    for (const auto& c : cases)
    {
        TLayout layout = Clean();
        c.edit(layout);
        const std::string path = Save(std::move(layout));
        const TQelctlRun run = RunQelctl("check '" + path + "'", m_dir);
        std::string expected = c.lines;
        for (size_t at; (at = expected.find("FILE")) != std::string::npos;)
            expected.replace(at, 4, path);
        EXPECT_EQ(run.out, expected) << c.what;
        EXPECT_EQ(run.status, c.status) << c.what;
        EXPECT_EQ(run.err, "") << c.what;
    }

    const TQelctlRun missing = RunQelctl("check '" + (m_dir / "none.qel").string() + "'", m_dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("qelctl: " + (m_dir / "none.qel").string() + ": ", 0), 0u) << missing.err;
    EXPECT_EQ(RunQelctl("check", m_dir).status, 2);
}

TEST_F(CheckCommand, JsonGivesTheSameFindingsForScripts)
{
    TLayout layout = Clean();
    static_cast<TUserHotspot&>(*Lobby(layout).objects[1]).targetPage = 10007;
    layout.defaultPage = 10009;
    const std::string path = Save(std::move(layout));
    const TQelctlRun run = RunQelctl("check --json '" + path + "'", m_dir);
    EXPECT_EQ(run.status, 1);
    const nlohmann::json all = nlohmann::json::parse(run.out);
    ASSERT_TRUE(all.is_array());
    ASSERT_EQ(all.size(), 4u) << run.out;
    EXPECT_EQ(all[0], nlohmann::json::parse(R"({"severity": "error", "code": "missing-default", "page": null,
        "pageId": null, "pageName": null, "object": null, "x": null, "y": null,
        "message": "default page 10009 does not exist", "text": "default page 10009 does not exist"})"));
    EXPECT_EQ(all[1], nlohmann::json::parse(R"({"severity": "error", "code": "missing-target", "page": 1,
        "pageId": 10000, "pageName": "Lobby", "object": 2, "x": 100, "y": 100,
        "message": "hot spot at 100,100 leads to page 10007, which does not exist",
        "text": "page \"Lobby\": hot spot at 100,100 leads to page 10007, which does not exist"})"));
    EXPECT_EQ(all[2]["code"], "no-way-out");
    EXPECT_EQ(all[3]["code"], "unreachable");

    const TQelctlRun clean = RunQelctl("check --json '" + Save(Clean()) + "'", m_dir);
    EXPECT_EQ(clean.out, "[]\n");
    EXPECT_EQ(clean.status, 0);
}

} // namespace
