#pragma once

#include <atomic>

// Exit status of a command stopped by SIGINT or SIGTERM.
constexpr int kExitStopped = 130;

// SIGINT and SIGTERM for the whole of qelctl. Whatever runs, files half
// written are removed. A command that has not asked to watch the signals
// then ends at once; a transfer that watches them is told through the flag
// and ends cleanly, and a second signal ends it at once.
void InstallStopSignals();

// The flag the first signal sets from now on, for CPanelLink::SetCancelFlag.
const std::atomic<bool>* WatchStopSignals();
