// One panel's deployment on a virtual clock against the panel model: the
// road through its stages, and a panel that takes no uploads.

#include "ModelLine.h"

#include "Layout.h"
#include "PanelDeployment.h"
#include "PanelLink.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

class CStages : public IDeployWatcher
{
public:
    void Stage(const std::string& stage) override { stages.push_back(stage); }
    void Position(int32_t position) override { last = position; }

    std::vector<std::string> stages;
    int32_t last = -1;
};

TEST(PanelDeployment, ThroughEveryStageOrStoppedByOldFirmware)
{
    const fs::path data = fs::temp_directory_path() / ("qel-deploy-" + std::to_string(::getpid()));
    fs::remove_all(data);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    TLayout held;
    held.controlName = u"Bar";
    TLayout next;
    next.controlName = u"Bar";
    next.sleepTimeout = 30;
    const std::vector<uint8_t> image = next.SaveToBytes();

    const struct
    {
        int32_t firmware;
        bool ok;
        std::string result;
        std::vector<std::string> stages;
    } cases[] = {
        {201, true, "uploaded and verified", {"connecting", "backing up", "uploading", "verifying"}},
        {200, false, "firmware takes no layout uploads; 201 or later is needed", {"connecting"}},
    };
    for (const auto& c : cases)
    {
        CVirtualClock clock;
        CPanelModel panel({c.firmware, 1, {}}, held.SaveToBytes());
        std::vector<uint8_t> stored;
        panel.onLayoutStored = [&stored](const std::vector<uint8_t>& layout) { stored = layout; };
        CPanelLink link(std::make_unique<CModelLine>(clock, panel), clock);
        CStages watcher;
        const TPanelRun run = DeployToPanel(link, "/dev/sim", image, watcher);
        EXPECT_EQ(run.ok, c.ok) << run.result;
        EXPECT_EQ(run.result, c.result);
        EXPECT_EQ(run.firmware, c.firmware);
        EXPECT_EQ(watcher.stages, c.stages);
        if (!c.ok)
        {
            EXPECT_TRUE(stored.empty());
            continue;
        }
        EXPECT_EQ(stored, image);
        EXPECT_EQ(run.controlName, "Bar");
        EXPECT_GT(watcher.last, 0) << "the transfers told their progress";
        ASSERT_FALSE(run.backup.empty());
        EXPECT_EQ(fs::path(run.backup).parent_path(), data / "qelmorvane/backups/Bar");
    }
    ::unsetenv("XDG_DATA_HOME");
    fs::remove_all(data);
}

} // namespace
