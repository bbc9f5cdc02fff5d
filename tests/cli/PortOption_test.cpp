// -p, QELCTL_PORT and "qelctl help COMMAND", against a port that does not
// exist: the message names the port the command chose.
#include "QelctlRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace
{

struct TPortCase
{
    const char* environment; // QELCTL_PORT, or null for none
    const char* arguments;
    const char* expectedInErr;
    int status;
};

TEST(PortOption, ShortFormAndEnvironmentNameThePort)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qelctl-port-option";
    std::filesystem::create_directories(dir);
    const TPortCase cases[] = {
        {nullptr, "info -p /dev/qel-none-1", "qelctl: /dev/qel-none-1: ", 1},
        {nullptr, "info --port=/dev/qel-none-2", "qelctl: /dev/qel-none-2: ", 1},
        {"/dev/qel-none-3", "info", "qelctl: /dev/qel-none-3: ", 1},
        // A port given on the command line wins over the environment.
        {"/dev/qel-none-4", "info -p /dev/qel-none-5", "qelctl: /dev/qel-none-5: ", 1},
        {"", "info", "--port", 2},
    };
    for (const TPortCase& c : cases)
    {
        if (c.environment != nullptr)
            ::setenv("QELCTL_PORT", c.environment, 1);
        else
            ::unsetenv("QELCTL_PORT");
        const TQelctlRun run = RunQelctl(c.arguments, dir);
        ::unsetenv("QELCTL_PORT");
        EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.expectedInErr), std::string::npos) << c.arguments << ": " << run.err;
    }
    std::filesystem::remove_all(dir);
}

TEST(PortOption, HelpCommandPrintsTheCommandsHelp)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qelctl-help-command";
    std::filesystem::create_directories(dir);
    const TQelctlRun viaHelp = RunQelctl("help upload", dir);
    const TQelctlRun viaOption = RunQelctl("upload --help", dir);
    EXPECT_EQ(viaHelp.status, 0);
    EXPECT_EQ(viaHelp.out, viaOption.out);
    EXPECT_NE(viaHelp.out.find("usage: qelctl upload"), std::string::npos);
    EXPECT_EQ(RunQelctl("help no-such-command", dir).status, 2);
    std::filesystem::remove_all(dir);
}

} // namespace
