#include "PanelDeployment.h"

#include "LayoutVerify.h"
#include "LinkText.h"
#include "PanelBackupStep.h"

#include <chrono>

namespace
{

// A transfer's progress handed on to the watcher.
class CWatchedProgress : public IProgressSink
{
public:
    explicit CWatchedProgress(IDeployWatcher& watcher) : m_watcher(watcher) {}
    void Begin(bool) override { m_watcher.Position(0); }
    void SetPosition(int32_t position) override { m_watcher.Position(position); }
    void End() override {}

private:
    IDeployWatcher& m_watcher;
};

} // namespace

TPanelRun DeployToPanel(CPanelLink& link, const std::string& port, const std::vector<uint8_t>& image,
                        IDeployWatcher& watcher)
{
    const auto started = std::chrono::steady_clock::now();
    TPanelRun run;
    run.port = port;
    const auto end = [&](bool ok, const std::string& result)
    {
        run.ok = ok;
        run.result = result;
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        return run;
    };
    const auto size = static_cast<int32_t>(image.size());
    CWatchedProgress progress(watcher);
    try
    {
        watcher.Stage("connecting");
        if (const TLinkResult opened = link.TryOpen(port); opened.outcome != ELinkOutcome::Ok)
            return end(false, OneLine(opened.message));
        const TLinkResult info = link.RequestInfo();
        if (info.outcome != ELinkOutcome::Ok)
            return end(false, OneLine(info.message));
        run.firmware = info.firmwareVersion;
        if (info.firmwareVersion.value_or(0) <= 200)
            return end(false, "firmware takes no layout uploads; 201 or later is needed");

        watcher.Stage("backing up");
        const TPanelBackupStep backup = BackUpPanelLayout(link, *info.firmwareVersion, progress);
        run.controlName = backup.controlName;
        run.backup = backup.path;
        if (backup.StopsUpload())
            return end(false, BackupFailure(backup));

        watcher.Stage("uploading");
        const TLinkResult sent = link.UploadLayout(image.data(), size, progress);
        if (sent.outcome != ELinkOutcome::Ok)
            return end(false, OneLine(sent.message));
        if (!sent.endConfirmed)
            return end(false, "the panel did not confirm the layout");

        watcher.Stage("verifying");
        const TLinkResult checked = VerifyLayout(link, *info.firmwareVersion, image.data(), size, progress);
        link.Disconnect();
        if (checked.outcome != ELinkOutcome::Ok)
            return end(false, OneLine(checked.message));
        return end(true, "uploaded and verified");
    }
    catch (const std::exception& e)
    {
        link.Disconnect();
        return end(false, e.what());
    }
}
