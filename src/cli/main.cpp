#include "Command.h"
#include "QelVersion.h"
#include "StdStreams.h"
#include "StopSignals.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace
{

void PrintHelp()
{
    std::printf("usage: qelctl COMMAND [ARGS...]\n\n"
                "The QEL-1 panel's configuration tool for scripts and batch work.\n\n"
                "Commands:\n");
    for (const TCommand& c : CCommandRegistry::Instance().All())
        std::printf("  %-14s %s\n", c.name, c.summary);
    std::printf("\n  qelctl COMMAND --help    tells more about one command.\n"
                "  qelctl --version         prints the version.\n\n"
                "Exit status: 0 success; 1 an input unreadable, malformed, too large or of the\n"
                "wrong kind, or standard output that cannot be written; 2 a usage error; 130\n"
                "a transfer stopped by SIGINT or SIGTERM; 141 standard output closed by its\n"
                "reader (as by `| head`), which is told by nothing else.\n\n"
                "A FILE given as - is standard input, and -o - is standard output.\n\n"
                "-p is short for --port; QELCTL_PORT names the port when none is given.\n");
}

std::string Subject(const TCommand& command, const std::vector<std::string>& args)
{
    for (const std::string& a : args)
    {
        if (IsStdStream(a))
            return InputName(a);
        if (!a.empty() && a[0] != '-')
            return a;
    }
    return command.name;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
    {
        PrintHelp();
        return kExitUsage;
    }
    const std::string& first = args.front();
    if (first == "help" && args.size() == 2)
    {
        // "qelctl help COMMAND" says what "qelctl COMMAND --help" says.
        if (const TCommand* asked = CCommandRegistry::Instance().Find(args[1]))
            return RunCommand(*asked, {"--help"});
        std::fprintf(stderr, "qelctl: unknown command '%s' (qelctl --help lists them)\n", args[1].c_str());
        return kExitUsage;
    }
    if (first == "-h" || first == "--help" || first == "help")
    {
        PrintHelp();
        return kExitOk;
    }
    if (first == "--version" || first == "-V")
    {
        std::printf("qelctl %s\n", QEL_VERSION_FULL);
        return kExitOk;
    }
    const TCommand* command = CCommandRegistry::Instance().Find(first);
    if (command == nullptr)
    {
        std::fprintf(stderr, "qelctl: unknown command '%s' (qelctl --help lists them)\n", first.c_str());
        return kExitUsage;
    }
    args.erase(args.begin());
    InstallStopSignals();
    // A closed pipe is told by a failed write, and ends the command quietly.
    std::signal(SIGPIPE, SIG_IGN);
    // Nothing a command meets may end the program unreported: what escapes it
    // is told as a failure of its first argument that is no option (the
    // input file, or the port of a panel command).
    try
    {
        const int status = RunCommand(*command, args);
        // What was printed must have gone out, or the command failed.
        const int flushed = FlushStandardOutput();
        if (status == kExitClosedPipe || flushed == kExitOk)
            return status;
        return flushed == kExitClosedPipe ? flushed : std::max(status, flushed);
    }
    catch (const std::bad_alloc&)
    {
        return Fail(Subject(*command, args), "out of memory");
    }
    catch (const std::exception& e)
    {
        return Fail(Subject(*command, args), e.what());
    }
    catch (...)
    {
        return Fail(Subject(*command, args), "unexpected failure");
    }
}
