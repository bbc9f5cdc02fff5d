#include "AtomicFile.h"

#include "RegularFile.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string ErrnoText(int error)
{
    std::string text = std::strerror(error);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

TFileResult WriteFileAtomically(const std::string& path, const std::vector<TBytes>& parts)
{
    if (path.empty())
        return TFileResult::Failure(EFileError::Unwritable, "no file name");
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return TFileResult::Failure(EFileError::Unwritable, "cannot create file (" + ErrnoText(errno) + ")");

    // mkstemp makes the file 0600; give it what a plain creat() would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    struct stat old{};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        mode = old.st_mode & 07777;
    ::fchmod(fd, mode);

    int error = 0;
    for (const TBytes& part : parts)
    {
        if (!WriteAll(fd, static_cast<const uint8_t*>(part.data), part.size))
        {
            error = errno;
            break;
        }
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0)
    {
        ::unlink(temp.c_str());
        return TFileResult::Failure(EFileError::Unwritable, "cannot write file (" + ErrnoText(error) + ")");
    }
    // Make the rename itself durable; a failure here no longer risks the data.
    const int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0)
    {
        ::fsync(dir);
        ::close(dir);
    }
    return TFileResult::Success();
}

TFileResult WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return WriteFileAtomically(path, std::vector<TBytes>{{bytes.data(), bytes.size()}});
}

int OpenForReading(const std::string& path, TFileResult& failure)
{
    std::string reason;
    const int fd = OpenRegularFile(path, reason);
    if (fd < 0)
        failure = TFileResult::Failure(EFileError::Unreadable,
                                       reason == "not a regular file" ? reason : "cannot open file (" + reason + ")");
    return fd;
}

TFileResult ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& bytes)
{
    TFileResult failure;
    const int fd = OpenForReading(path, failure);
    if (fd < 0)
        return failure;
    struct stat info{};
    if (::fstat(fd, &info) != 0)
    {
        const int error = errno;
        ::close(fd);
        return TFileResult::Failure(EFileError::Unreadable, "cannot read file (" + ErrnoText(error) + ")");
    }
    if (static_cast<uint64_t>(info.st_size) > maxSize)
    {
        ::close(fd);
        return TFileResult::Failure(EFileError::TooLarge, "file too large (over " + std::to_string(maxSize) + " bytes)");
    }
    // Read up to one byte beyond the limit, so a file that grew since fstat is
    // still caught.
    std::vector<uint8_t> data(maxSize + 1);
    size_t total = 0;
    while (total < data.size())
    {
        const ssize_t n = ::read(fd, data.data() + total, data.size() - total);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return TFileResult::Failure(EFileError::Unreadable, "cannot read file (" + ErrnoText(error) + ")");
        }
        if (n == 0)
            break;
        total += static_cast<size_t>(n);
    }
    ::close(fd);
    if (total > maxSize)
        return TFileResult::Failure(EFileError::TooLarge, "file too large (over " + std::to_string(maxSize) + " bytes)");
    data.resize(total);
    bytes = std::move(data);
    return TFileResult::Success();
}
