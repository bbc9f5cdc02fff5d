#pragma once

#include "AtomicFile.h"

#include <cstdint>
#include <string>
#include <vector>

class TLayout;
struct TArgs;
struct TCommand;

// "-" where a command reads a file is standard input, and as -o (or an
// output file) standard output, as git and coreutils have it.

bool IsStdStream(const std::string& arg);
// How messages name an input or an output: "standard input" or
// "standard output" for "-", else the path.
std::string InputName(const std::string& arg);
std::string OutputName(const std::string& arg);

// Reads a file, or standard input for "-", whole and within the same limit.
// Standard input can be read once; a second "-" is refused.
TFileResult ReadInput(const std::string& arg, size_t maxSize, std::vector<uint8_t>& bytes);
// A template (or a bare layout image) from a file or standard input.
TFileResult LoadTemplateInput(TLayout& layout, const std::string& arg);
TFileResult LoadLayoutImageInput(TLayout& layout, const std::string& arg);

// What goes out: text may go to a terminal, a binary file (a template, a
// PNG) is not written to one.
enum class EOutput
{
    Text,
    Binary,
};

// Writes a file atomically, or standard output for "-". Returns kExitOk;
// after one "qelctl: OUT: reason" line kExitFailure; or, when the reader of
// standard output has gone, quietly kExitClosedPipe.
int WriteOutput(const std::string& arg, const std::vector<TBytes>& parts, EOutput kind);
int WriteOutput(const std::string& arg, const std::vector<uint8_t>& bytes, EOutput kind);
// Stores a template and writes it as WriteOutput does.
int SaveTemplateOutput(TLayout& layout, const std::string& arg);

// Where a command that changes the template IN writes it: -o OUT, else back
// to IN. False after a usage message (status set) when IN is standard input
// and no -o is given, or when -o - is given to a command that prints on
// standard output itself.
bool TemplateOutput(const TCommand& command, const TArgs& args, const std::string& in, bool printsResult,
                    std::string& out, int& status);

// Flushes what was printed on standard output and tells, as WriteOutput
// does, whether it all went out. A failure is told once.
int FlushStandardOutput();
