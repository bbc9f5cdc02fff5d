#pragma once

// Runs a qelctl command in a benchmark as the program runs it, from reading
// its files to its last printed line, with what it prints sent nowhere.
#include "Command.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

inline int TimeCommand(benchmark::State& state, const char* name, const std::vector<std::string>& args)
{
    const TCommand* command = CCommandRegistry::Instance().Find(name);
    // The report keeps the terminal.
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    int status = 0;
    for (auto _ : state)
    {
        status = RunCommand(*command, args);
        std::fflush(stdout);
    }
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(null);
    return status;
}

// A file of these bytes in the temporary folder, named for this process.
inline std::filesystem::path WriteBenchFile(const std::string& stem, const std::vector<uint8_t>& bytes)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("qel-" + stem + "-" + std::to_string(::getpid()) + ".qel");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
}
