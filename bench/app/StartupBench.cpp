#include "FixedIterations.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

// From starting the program to its main window painted once, in a process of
// its own each time, as a person starting it would see.
static void BM_StartupToShownWindow(benchmark::State& state)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The program's recovery folder and settings go to a folder of the run's
    // own, never into the home folder.
    char folder[] = "/tmp/qel-startup-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
    {
        state.SkipWithError("cannot make a folder for the program's files");
        return;
    }
    for (const char* name : {"XDG_STATE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        ::setenv(name, folder, 1);
    const std::string program = QEL_BINARY_DIR "/qelmorvane";
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--exit-when-shown"), nullptr};
    for (auto _ : state)
    {
        pid_t pid = 0;
        if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        {
            state.SkipWithError("cannot start qelmorvane");
            break;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        {
            state.SkipWithError("qelmorvane failed");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StartupToShownWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(FixedIterations(20));

BENCHMARK_MAIN();
