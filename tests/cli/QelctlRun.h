#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Runs the built qelctl with the given (already quoted) arguments, keeping
// what it printed in files of workDir, and returns its exit status and output.
// environment, when given, is put before the program ("NAME='VALUE' ...") and
// so holds for this run alone.
struct TQelctlRun
{
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadTextFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline TQelctlRun RunQelctl(const std::string& arguments, const std::filesystem::path& workDir,
                            const std::string& environment = {})
{
    const std::filesystem::path out = workDir / "qelctl.stdout";
    const std::filesystem::path err = workDir / "qelctl.stderr";
    const std::string command = environment + " '" + QEL_BINARY_DIR "/qelctl' " + arguments + " >'" + out.string() +
                                "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    TQelctlRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadTextFile(out);
    run.err = ReadTextFile(err);
    return run;
}
