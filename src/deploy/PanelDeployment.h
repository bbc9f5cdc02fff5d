#pragma once

#include "PanelLink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One panel's deployment as it goes and as it ends.
struct TPanelRun
{
    std::string port;
    std::string stage = "waiting";
    int32_t position = -1; // 0 to 1000 during a transfer
    bool finished = false;
    bool ok = false;
    std::string result;
    std::string controlName;
    std::optional<int32_t> firmware;
    std::string backup;
    double seconds = 0;
};

// Told how a deployment goes; called on the deploying thread.
class IDeployWatcher
{
public:
    virtual ~IDeployWatcher() = default;
    // "connecting", "backing up", "uploading", "verifying".
    virtual void Stage(const std::string& stage) = 0;
    // 0 to 1000 through each transfer.
    virtual void Position(int32_t position) = 0;
};

// Deploys a layout byte image to the panel at port over link: the handshake
// (firmware 201 or later), the backup of the layout it holds (kept under
// $XDG_DATA_HOME/qelmorvane/backups), the upload and the read-back. Every
// failure ends the run with its result on one line; nothing is thrown for
// the panel's or the line's faults.
TPanelRun DeployToPanel(CPanelLink& link, const std::string& port, const std::vector<uint8_t>& image,
                        IDeployWatcher& watcher);
