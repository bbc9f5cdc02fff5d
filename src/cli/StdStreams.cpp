#include "StdStreams.h"

#include "Command.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "Options.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace
{

bool g_stdinRead = false;

std::string ErrnoText(int error)
{
    std::string text = std::strerror(error);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

// Whether standard output is a pipe or socket whose reader has gone. A
// failed write is told without errno by a stream that failed earlier.
bool ReaderGone()
{
    pollfd out{STDOUT_FILENO, 0, 0};
    return ::poll(&out, 1, 0) == 1 && (out.revents & POLLERR) != 0;
}

int FailWrite(int error)
{
    if (error == EPIPE || (error == 0 && ReaderGone()))
        return kExitClosedPipe;
    return Fail("standard output", error == 0 ? "cannot write" : "cannot write (" + ErrnoText(error) + ")");
}

} // namespace

bool IsStdStream(const std::string& arg)
{
    return arg == "-";
}

std::string InputName(const std::string& arg)
{
    return IsStdStream(arg) ? "standard input" : arg;
}

std::string OutputName(const std::string& arg)
{
    return IsStdStream(arg) ? "standard output" : arg;
}

TFileResult ReadInput(const std::string& arg, size_t maxSize, std::vector<uint8_t>& bytes)
{
    if (!IsStdStream(arg))
        return ReadWholeFile(arg, maxSize, bytes);
    if (g_stdinRead)
        return TFileResult::Failure(EFileError::Unreadable, "read once already");
    g_stdinRead = true;
    return ReadWholeStream(STDIN_FILENO, maxSize, bytes);
}

TFileResult LoadTemplateInput(TLayout& layout, const std::string& arg)
{
    if (!IsStdStream(arg))
        return LoadTemplateFile(layout, arg);
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadInput(arg, kTemplateFileLimit, bytes); !read)
        return read;
    return LoadTemplateBytes(layout, bytes);
}

TFileResult LoadLayoutImageInput(TLayout& layout, const std::string& arg)
{
    if (!IsStdStream(arg))
        return LoadLayoutImageFile(layout, arg);
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadInput(arg, static_cast<size_t>(kUploadCapacity), bytes); !read)
        return read;
    return LoadLayoutImageBytes(layout, bytes);
}

int WriteOutput(const std::string& arg, const std::vector<TBytes>& parts, EOutput kind)
{
    if (!IsStdStream(arg))
    {
        if (const TFileResult written = WriteFileAtomically(arg, parts); !written)
            return Fail(arg, written.reason);
        return kExitOk;
    }
    if (kind == EOutput::Binary && ::isatty(STDOUT_FILENO) == 1)
        return Fail("standard output",
                    "is a terminal; binary output is not written there (redirect it or give a file)");
    // What was printed before goes first.
    if (const int flushed = FlushStandardOutput(); flushed != kExitOk)
        return flushed;
    for (const TBytes& part : parts)
    {
        const auto* data = static_cast<const uint8_t*>(part.data);
        size_t left = part.size;
        while (left > 0)
        {
            const ssize_t n = ::write(STDOUT_FILENO, data, left);
            if (n < 0)
            {
                if (errno == EINTR)
                    continue;
                return FailWrite(errno);
            }
            data += n;
            left -= static_cast<size_t>(n);
        }
    }
    return kExitOk;
}

int WriteOutput(const std::string& arg, const std::vector<uint8_t>& bytes, EOutput kind)
{
    return WriteOutput(arg, std::vector<TBytes>{{bytes.data(), bytes.size()}}, kind);
}

int SaveTemplateOutput(TLayout& layout, const std::string& arg)
{
    std::vector<uint8_t> bytes;
    if (const TFileResult stored = StoreTemplateBytes(layout, bytes); !stored)
        return Fail(OutputName(arg), stored.reason);
    return WriteOutput(arg, bytes, EOutput::Binary);
}

bool TemplateOutput(const TCommand& command, const TArgs& args, const std::string& in, bool printsResult,
                    std::string& out, int& status)
{
    const std::string* given = args.Value("-o");
    if (given == nullptr && IsStdStream(in))
    {
        status = UsageError(command, "a template read from standard input is written with -o OUT.qel");
        return false;
    }
    out = given != nullptr ? *given : in;
    if (printsResult && IsStdStream(out))
    {
        status =
            UsageError(command, std::string(command.name) +
                                    " prints its result on standard output: -o - cannot take the template");
        return false;
    }
    return true;
}

int FlushStandardOutput()
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && std::ferror(stdout) == 0)
        return kExitOk;
    // Told once: a later flush finds the stream clear.
    std::clearerr(stdout);
    return FailWrite(flushed ? 0 : error);
}
