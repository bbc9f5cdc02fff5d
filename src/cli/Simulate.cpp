#include "Command.h"
#include "PageArg.h"

#include "AtomicFile.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "SimulatedPanel.h"
#include "StdStreams.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace
{

int RunSimulate(const TArgs& parsed);

std::string SimulateHelp()
{
    return std::string("Starts a simulated QEL-1 panel on a pseudo-terminal and prints the terminal's\n"
                       "path as the first line of output; give that path to --port (or to the\n"
                       "desktop program's port box). Serves until interrupted.\n\n"
                       "  --firmware N     firmware version it reports (201)\n"
                       "  --hardware N     hardware version it reports (1)\n"
                       "  --layout IN.qel  the layout it holds at start (else a new, empty one);\n"
                       "                   - reads it from standard input\n"
                       "  --store DIR      keep each uploaded layout as DIR/layout-NNN.qel and each\n"
                       "                   firmware image as DIR/firmware-NNN.qfw\n"
                       "  --log FILE       log the wire traffic to FILE\n"
                       "  --fault SPEC     misbehave, for tests and demonstrations (repeatable):\n") +
           SimFaultHelp();
}

const std::string kHelp = SimulateHelp();

const TCommand kSimulate{
    "simulate",
    "simulate [--firmware N] [--hardware N] [--layout IN.qel] [--store DIR] [--fault SPEC]... [--log FILE]",
    "run a simulated panel on a pseudo-terminal",
    kHelp.c_str(),
    {{ValueOption("--firmware"), ValueOption("--hardware"), ValueOption("--layout"), ValueOption("--store"),
      RepeatedOption("--fault"), ValueOption("--log")},
     0,
     0,
     "simulate takes only options"},
    RunSimulate,
};
const CCommandRegistrar kRegistrar(kSimulate);

CSimulatedPanel* g_panel = nullptr;

extern "C" void OnStopSignal(int)
{
    if (g_panel != nullptr)
        g_panel->Stop();
}

int RunSimulate(const TArgs& parsed)
{
    TSimOptions options;
    for (const char* name : {"--firmware", "--hardware"})
    {
        if (const std::string* v = parsed.Value(name))
        {
            int32_t n = 0;
            if (!ParseInt32(*v, n) || n < 0)
                return UsageError(kSimulate, std::string(name) + " takes a whole number");
            (name == std::string("--firmware") ? options.firmwareVersion : options.hardwareVersion) = n;
        }
    }
    const std::string layoutPath = parsed.Value("--layout") != nullptr ? *parsed.Value("--layout") : "";
    if (const std::string* store = parsed.Value("--store"))
        options.storeDir = *store;
    if (const std::string* log = parsed.Value("--log"))
        options.logPath = *log;
    for (const std::string& spec : parsed.Values("--fault"))
    {
        TSimFault fault{};
        std::string error;
        if (!ParseSimFault(spec, fault, error))
            return UsageError(kSimulate, error);
        options.faults.push_back(fault);
    }

    TLayout layout;
    if (!layoutPath.empty())
    {
        // Serve the file's own bytes: a download then gives back exactly what was given.
        std::vector<uint8_t> file;
        if (const TFileResult read = ReadInput(layoutPath, kTemplateFileLimit, file); !read)
            return Fail(InputName(layoutPath), read.reason);
        if (const TFileResult loaded = LoadTemplateBytes(layout, file); !loaded)
            return Fail(InputName(layoutPath), loaded.reason);
        options.layoutImage.assign(file.begin() + 4, file.end());
    }
    else
    {
        options.layoutImage = layout.SaveToBytes();
    }
    if (!options.storeDir.empty())
    {
        std::error_code ec;
        std::filesystem::create_directories(options.storeDir, ec);
        if (ec)
            return Fail(options.storeDir, ec.message());
    }

    CSimulatedPanel panel(std::move(options));
    try
    {
        const std::string path = panel.Start();
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        g_panel = &panel;
        struct sigaction sa{};
        sa.sa_handler = OnStopSignal;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGINT, &sa, nullptr);
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGHUP, &sa, nullptr);
        panel.Serve();
        g_panel = nullptr;
    }
    catch (const std::exception& e)
    {
        g_panel = nullptr;
        return Fail("simulate", e.what());
    }
    return kExitOk;
}

} // namespace
