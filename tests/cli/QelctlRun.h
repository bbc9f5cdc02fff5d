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

// The shell command that runs qelctl with the given arguments.
inline std::string QelctlCommand(const std::string& arguments)
{
    return std::string("'") + QEL_BINARY_DIR "/qelctl' " + arguments;
}

// Runs a shell command, keeping what it printed as RunQelctl does; the
// status is the command's (a pipeline's last).
inline TQelctlRun RunShell(const std::string& command, const std::filesystem::path& workDir)
{
    const std::filesystem::path out = workDir / "qelctl.stdout";
    const std::filesystem::path err = workDir / "qelctl.stderr";
    const std::string line = "{ " + command + "; } >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(line.c_str());
    TQelctlRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadTextFile(out);
    run.err = ReadTextFile(err);
    return run;
}

inline TQelctlRun RunQelctl(const std::string& arguments, const std::filesystem::path& workDir,
                            const std::string& environment = {})
{
    return RunShell(environment + " " + QelctlCommand(arguments), workDir);
}

// As RunQelctl, with these bytes on standard input through a pipe, as a
// shell pipeline gives them.
inline TQelctlRun RunQelctlPiped(const std::string& arguments, const std::string& input,
                                 const std::filesystem::path& workDir)
{
    const std::filesystem::path in = workDir / "qelctl.stdin";
    std::ofstream(in, std::ios::binary) << input;
    return RunShell("cat '" + in.string() + "' | " + QelctlCommand(arguments), workDir);
}
