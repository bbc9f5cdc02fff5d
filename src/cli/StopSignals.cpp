#include "StopSignals.h"

#include "AtomicFile.h"

#include <csignal>
#include <unistd.h>

namespace
{

std::atomic<bool> g_stop{false};
std::atomic<bool> g_watched{false};

static_assert(std::atomic<bool>::is_always_lock_free);

// Only async-signal-safe work here: unlink, atomics, _exit.
void OnStopSignal(int signal)
{
    RemovePendingTemporaryFiles();
    if (!g_watched.load())
        ::_exit(128 + signal);
    if (g_stop.exchange(true))
        ::_exit(kExitStopped);
}

} // namespace

void InstallStopSignals()
{
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

const std::atomic<bool>* WatchStopSignals()
{
    g_watched.store(true);
    return &g_stop;
}
