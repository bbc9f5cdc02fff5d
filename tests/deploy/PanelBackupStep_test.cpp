// The backup taken before an upload, on a virtual clock against the panel
// model: what is kept, and what stops the upload before anything is sent.

#include "ModelLine.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "PanelBackupStep.h"
#include "PanelLink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

mode_t Mode(const fs::path& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

} // namespace

TEST(PanelBackupStep, KeepsThePanelsLayoutOrSaysWhyNot)
{
    const fs::path dir = fs::temp_directory_path() / ("qel-backupstep-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "file") << "a file where a folder should be";
    TLayout held;
    held.controlName = u"Lobby Two";
    held.sleepTimeout = 45;
    const std::vector<uint8_t> layout = held.SaveToBytes();
    const std::vector<uint8_t> garbage(600, 0x5A);
    using E = TPanelBackupStep::EOutcome;
    const struct
    {
        const char* what;
        const std::vector<uint8_t>& image;
        fs::path root;
        E outcome;
        std::string said; // the read's message, or the reason it was not saved
    } cases[] = {
        {"kept", layout, dir / "backups", E::Saved, "Downloaded layout from control\r\n"},
        {"unreadable", garbage, dir / "backups", E::NotRead,
         "Layout from control could not be read\r\nLayout unchanged\r\n"},
        {"no folder", layout, dir / "file/backups", E::NotSaved,
         "cannot create folder " + (dir / "file/backups").string()},
    };
    for (const auto& c : cases)
    {
        CVirtualClock clock;
        CPanelModel panel({201, 1, {}}, c.image);
        CPanelLink link(std::make_unique<CModelLine>(clock, panel), clock);
        CNullProgress progress;
        link.OpenSelectedPort("/dev/sim");
        const TPanelBackupStep step = BackUpPanelLayout(link, 201, progress, c.root.string());

        EXPECT_EQ(step.outcome, c.outcome) << c.what;
        EXPECT_EQ(c.outcome == E::NotSaved ? step.reason.substr(0, c.said.size()) : step.read.message, c.said)
            << c.what << ": " << step.reason;
        EXPECT_EQ(step.controlName, c.outcome == E::NotRead ? "" : "Lobby Two") << c.what;
        // Back at 9600 baud, ready for the upload that follows.
        EXPECT_EQ(panel.Baud(), 9600u) << c.what;
        if (c.outcome != E::Saved)
        {
            EXPECT_TRUE(step.path.empty()) << c.what;
            continue;
        }
        EXPECT_EQ(fs::path(step.path).parent_path(), dir / "backups/Lobby_Two");
        EXPECT_EQ(Mode(step.path), 0600u);
        EXPECT_EQ(Mode(dir / "backups/Lobby_Two"), 0700u);
        TLayout kept;
        ASSERT_TRUE(LoadTemplateFile(kept, step.path));
        EXPECT_EQ(kept.SaveToBytes(), layout);
    }
    // One file in one folder: the layout that could not be read left nothing.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "backups"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "backups/Lobby_Two"), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}
