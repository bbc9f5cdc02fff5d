// What the panel commands refuse before any port is touched.

#include "QelctlRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(PanelCommands, BadArgumentsAndFilesAreRefusedBeforeThePortIsOpened)
{
    const fs::path dir = fs::temp_directory_path() / ("qel-panelcmd-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "empty.qfw");
    std::ofstream(dir / "bad.qel") << "not a template";
    // The port does not exist: a command that got as far as opening it would say so.
    const std::string port = " --port /dev/qel-no-such-port ";
    struct
    {
        std::string args;
        int status;
        std::string errorStart;
    } const cases[] = {
        {"info", 2, "qelctl: give the panel's port"},
        {"info --port", 2, "qelctl: "},
        {"ports extra", 2, "qelctl: ports takes no arguments"},
        {"download" + port, 2, "qelctl: give the panel's port"},
        {"upload" + port, 2, "qelctl: give the panel's port"},
        {"firmware" + port, 2, "qelctl: give the panel's port"},
        {"simulate --fault explode", 2, "qelctl: unknown fault 'explode'"},
        {"simulate --firmware x", 2, "qelctl: --firmware takes a whole number"},
        {"firmware" + port + (dir / "empty.qfw").string(), 1,
         "qelctl: " + (dir / "empty.qfw").string() + ": Firmware file is empty; Nothing sent\n"},
        {"firmware" + port + (dir / "absent.qfw").string(), 1,
         "qelctl: " + (dir / "absent.qfw").string() + ": no such file or directory; Nothing sent\n"},
        {"firmware" + port + dir.string(), 1,
         "qelctl: " + dir.string() + ": not a regular file; Nothing sent\n"},
        {"upload" + port + (dir / "bad.qel").string(), 1, "qelctl: " + (dir / "bad.qel").string() + ": "},
        {"upload --verify --no-verify" + port + (dir / "bad.qel").string(), 2,
         "qelctl: --verify and --no-verify cannot go together\n"},
        // - reads standard input, and names it.
        {"firmware" + port + "- </dev/null", 1,
         "qelctl: standard input: Firmware file is empty; Nothing sent\n"},
        {"upload" + port + "- <" + (dir / "bad.qel").string(), 1,
         "qelctl: standard input: not a QEL-1 template (wrong magic number)\n"},
        {"download" + port + "-o -", 2, "qelctl: download prints its progress on standard output"},
        {"deploy -" + port + "</dev/null", 1, "qelctl: standard input: not a QEL-1 template (too short)\n"},
        {"simulate --layout - <" + (dir / "bad.qel").string(), 1,
         "qelctl: standard input: not a QEL-1 template (wrong magic number)\n"},
        {"info" + port, 1, "qelctl: /dev/qel-no-such-port: no such device\n"},
        {"download" + port + "-o " + (dir / "out.qel").string(), 1,
         "qelctl: /dev/qel-no-such-port: no such device\n"},
    };
    // Nothing here gets as far as a backup; were one taken, it would stay in dir.
    const std::string dataHome = "XDG_DATA_HOME='" + (dir / "data").string() + "'";
    for (const auto& c : cases)
    {
        const TQelctlRun r = RunQelctl(c.args, dir, dataHome);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_EQ(r.err.rfind(c.errorStart, 0), 0u) << c.args << "\n" << r.err;
    }
    EXPECT_FALSE(fs::exists(dir / "out.qel"));
    EXPECT_FALSE(fs::exists(dir / "data"));
    fs::remove_all(dir);
}
