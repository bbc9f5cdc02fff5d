#include "Command.h"
#include "PageArg.h"
#include "PortArg.h"
#include "ProgressBar.h"
#include "StdStreams.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutVerify.h"
#include "PanelDeployment.h"
#include "PanelLink.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

int RunDeploy(const TArgs& parsed);

const TCommand kDeploy{
    "deploy",
    "deploy IN.qel --port PORT... [--ports-file FILE] [--parallel N] [--json]",
    "send a template's layout to many panels at once",
    "Connects to every panel named by --port (repeatable) and by the lines of\n"
    "--ports-file (one port a line, # starts a comment), all at once, and for each\n"
    "asks its versions (firmware 201 or later), downloads its current layout as a\n"
    "backup ($XDG_DATA_HOME/qelmorvane/backups/CONTROL/YYYYMMDD-HHMMSS.qel, the\n"
    "newest 20 kept), uploads the layout of IN.qel and reads it back to compare.\n"
    "A panel that fails does not stop the others. On a terminal one line per panel\n"
    "shows its progress; then a table gives each panel's port, control name,\n"
    "firmware, result and seconds. Exit status 0 when every panel succeeded.\n"
    "IN.qel - reads the template from standard input.\n\n"
    "  --parallel N   at most N panels at a time (default: all)\n"
    "  --json         print the results as JSON instead of the table",
    {{RepeatedOption("--port"), ValueOption("--ports-file"), ValueOption("--parallel"), FlagOption("--json")},
     1,
     1,
     "give one template and the panels' ports with --port PORT or --ports-file FILE"},
    RunDeploy,
};
const CCommandRegistrar kRegistrar(kDeploy);

class CBoard;

// A panel's stages and transfers reported to the board.
class CPanelWatcher : public IDeployWatcher
{
public:
    CPanelWatcher(CBoard& board, size_t index) : m_board(board), m_index(index) {}
    void Stage(const std::string& stage) override;
    void Position(int32_t position) override;

private:
    CBoard& m_board;
    size_t m_index;
};

// Every panel's state, shared by the workers and the terminal's live lines.
class CBoard
{
public:
    explicit CBoard(const std::vector<std::string>& ports)
    {
        for (const std::string& p : ports)
            m_runs.push_back({p});
    }

    void Stage(size_t i, const std::string& stage)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_runs[i].stage = stage;
        m_runs[i].position = -1;
    }
    void Position(size_t i, int32_t position)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_runs[i].position = std::clamp(position, 0, 1000);
    }
    void Finish(size_t i, const TPanelRun& run)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_runs[i] = run;
            m_runs[i].finished = true;
        }
        m_changed.notify_all();
    }
    std::vector<TPanelRun> Snapshot()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_runs;
    }

    // Redraws one line per panel on stderr until stop is set.
    void ShowLive(const std::atomic<bool>& stop)
    {
        bool drawn = false;
        for (;;)
        {
            const std::vector<TPanelRun> runs = Snapshot();
            size_t width = 4;
            for (const TPanelRun& r : runs)
                width = std::max(width, r.port.size());
            std::string text = drawn ? "\x1b[" + std::to_string(runs.size()) + "A" : "";
            for (const TPanelRun& r : runs)
            {
                std::string state = r.finished ? (r.ok ? "done" : "failed: " + r.result) : r.stage;
                if (!r.finished && r.position >= 0)
                    state += " " + std::to_string(r.position / 10) + "%";
                char line[512];
                std::snprintf(line, sizeof line, "\x1b[2K%-*s  %s\n", static_cast<int>(width), r.port.c_str(),
                              state.c_str());
                text += line;
            }
            std::fputs(text.c_str(), stderr);
            std::fflush(stderr);
            drawn = true;
            if (stop)
                return;
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait_for(lock, std::chrono::milliseconds(250));
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<TPanelRun> m_runs;
};

void CPanelWatcher::Stage(const std::string& stage)
{
    m_board.Stage(m_index, stage);
}

void CPanelWatcher::Position(int32_t position)
{
    m_board.Position(m_index, position);
}

TPanelRun DeployOne(CBoard& board, size_t index, const std::string& port, const std::vector<uint8_t>& image)
{
    CPanelWatcher watcher(board, index);
    CPanelLink link;
    return DeployToPanel(link, port, image, watcher);
}

void PrintTable(const std::vector<TPanelRun>& runs)
{
    size_t portWidth = 4, nameWidth = 7;
    for (const TPanelRun& r : runs)
    {
        portWidth = std::max(portWidth, r.port.size());
        nameWidth = std::max(nameWidth, r.controlName.size());
    }
    const int pw = static_cast<int>(portWidth), nw = static_cast<int>(nameWidth);
    std::printf("%-*s  %-*s  %-8s  %7s  %s\n", pw, "PORT", nw, "CONTROL", "FIRMWARE", "SECONDS", "RESULT");
    for (const TPanelRun& r : runs)
    {
        const std::string firmware = r.firmware ? std::to_string(*r.firmware) : "-";
        const std::string name = r.controlName.empty() ? "-" : r.controlName;
        std::printf("%-*s  %-*s  %-8s  %7.1f  %s%s\n", pw, r.port.c_str(), nw, name.c_str(), firmware.c_str(),
                    r.seconds, r.ok ? "ok: " : "FAILED: ", r.result.c_str());
    }
}

void PrintJson(const std::vector<TPanelRun>& runs)
{
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const TPanelRun& r : runs)
    {
        nlohmann::ordered_json o;
        o["port"] = r.port;
        o["control"] = r.controlName;
        o["firmware"] = r.firmware ? nlohmann::ordered_json(*r.firmware) : nlohmann::ordered_json();
        o["ok"] = r.ok;
        o["result"] = r.result;
        o["seconds"] = static_cast<double>(std::llround(r.seconds * 10)) / 10;
        o["backup"] = r.backup.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(r.backup);
        out.push_back(o);
    }
    std::printf("%s\n", out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
}

int RunDeploy(const TArgs& parsed)
{
    const std::string& in = parsed.positional[0];
    std::vector<std::string> ports = parsed.Values("--port");
    if (const std::string* file = parsed.Value("--ports-file"))
    {
        std::string reason;
        if (!ReadPortsFile(*file, ports, reason))
            return Fail(*file, reason);
    }
    std::vector<std::string> unique;
    for (const std::string& p : ports)
    {
        if (std::find(unique.begin(), unique.end(), p) == unique.end())
            unique.push_back(p);
    }
    if (unique.empty())
        return UsageError(kDeploy, "give the panels' ports with --port PORT or --ports-file FILE");
    size_t parallel = unique.size();
    if (const std::string* n = parsed.Value("--parallel"))
    {
        int32_t value = 0;
        if (!ParseInt32(*n, value) || value < 1)
            return UsageError(kDeploy, "--parallel takes a whole number of 1 or more");
        parallel = std::min(parallel, static_cast<size_t>(value));
    }

    TLayout layout;
    if (const TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(InputName(in), loaded.reason);
    const std::vector<uint8_t> image = layout.SaveToBytes();
    if (image.size() > static_cast<size_t>(kUploadBufferSize))
        return Fail(InputName(in), "the layout is larger than the panel takes (512000 bytes)");

    CBoard board(unique);
    std::atomic<size_t> next{0};
    const auto work = [&]
    {
        for (size_t i = next++; i < unique.size(); i = next++)
        {
            TPanelRun run;
            try
            {
                run = DeployOne(board, i, unique[i], image);
            }
            catch (const std::exception& e)
            {
                run.port = unique[i];
                run.result = e.what();
            }
            board.Finish(i, run);
        }
    };
    std::atomic<bool> stop{false};
    std::thread live;
    if (!parsed.Has("--json") && ::isatty(STDERR_FILENO) == 1)
        live = std::thread([&] { board.ShowLive(stop); });
    std::vector<std::thread> workers;
    for (size_t t = 0; t < parallel; ++t)
        workers.emplace_back(work);
    for (std::thread& t : workers)
        t.join();
    stop = true;
    if (live.joinable())
        live.join();

    const std::vector<TPanelRun> runs = board.Snapshot();
    if (parsed.Has("--json"))
        PrintJson(runs);
    else
        PrintTable(runs);
    const bool allOk = std::all_of(runs.begin(), runs.end(), [](const TPanelRun& r) { return r.ok; });
    return allOk ? kExitOk : kExitFailure;
}

} // namespace
