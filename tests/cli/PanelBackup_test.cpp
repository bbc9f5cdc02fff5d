// Backups of panels' layouts: where they go, what they are called, how many stay.

#include "Layout.h"
#include "LayoutFile.h"
#include "PanelBackup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::string Repeat(const std::string& text, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += text;
    return out;
}

} // namespace

TEST(PanelBackup, FolderNamesAreSafe)
{
    const struct
    {
        std::u16string name;
        std::string folder;
    } cases[] = {
        {u"Lobby", "Lobby"},
        {u"Bar/Lounge 2", "Bar_Lounge_2"},
        {u"..\\up", "_up"},
        {u"...", "unnamed"},
        {u"", "unnamed"},
        {u"Salle \u00E0 manger", "Salle_\u00E0_manger"},
        {u"x" + std::u16string(40, u'\u00E9'), "x" + Repeat("\u00E9", 31)}, // never cut inside a letter
    };
    for (const auto& c : cases)
        EXPECT_EQ(BackupFolderName(c.name), c.folder);
}

TEST(PanelBackup, KeepsTheNewestTwentyPerControlPrivately)
{
    const fs::path root =
        fs::temp_directory_path() / ("qel-backup-" + std::to_string(::getpid())) / "backups";
    fs::remove_all(root.parent_path());
    TLayout layout;
    layout.controlName = u"Lobby";
    const std::time_t t0 = 1765000000;
    std::vector<std::string> saved;
    for (int i = 0; i < 22; ++i)
    {
        std::string path;
        ASSERT_TRUE(SavePanelBackup(layout, path, root.string(), t0 + 60 * i));
        saved.push_back(path);
    }
    // Two panels of one name backed up in the same second.
    std::string same;
    ASSERT_TRUE(SavePanelBackup(layout, same, root.string(), t0 + 60 * 21));
    EXPECT_EQ(same, saved.back().substr(0, saved.back().size() - 4) + "-2.qel");

    std::vector<std::string> kept;
    for (const fs::directory_entry& e : fs::directory_iterator(root / "Lobby"))
        kept.push_back(e.path().string());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept.size(), 20u);
    EXPECT_FALSE(fs::exists(saved[0]));
    EXPECT_FALSE(fs::exists(saved[1]));
    EXPECT_FALSE(fs::exists(saved[2]));
    EXPECT_TRUE(fs::exists(saved[3]));
    EXPECT_TRUE(fs::exists(same));

    struct stat st
    {
    };
    ASSERT_EQ(::stat((root / "Lobby").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(same.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    TLayout back;
    EXPECT_TRUE(LoadTemplateFile(back, same));
    EXPECT_EQ(back.controlName, u"Lobby");
    fs::remove_all(root.parent_path());
}
