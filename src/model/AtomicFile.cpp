#include "AtomicFile.h"

#include "RegularFile.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/random.h>
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

// Temporary files not yet renamed, for RemovePendingTemporaryFiles to remove
// from a signal handler: plain lock-free slots, no allocation there.
constexpr size_t kTempSlots = 1024;
constexpr size_t kNoSlot = kTempSlots;
std::atomic<const char*> g_pendingTemps[kTempSlots];
static_assert(std::atomic<const char*>::is_always_lock_free);

size_t TakeSlot(const char* name)
{
    for (size_t i = 0; i < kTempSlots; ++i)
    {
        const char* expected = nullptr;
        if (g_pendingTemps[i].compare_exchange_strong(expected, name))
            return i;
    }
    return kNoSlot; // more pending at once than we track: still written, only not removed on a signal
}

void ReleaseSlot(size_t& slot)
{
    if (slot < kTempSlots)
        g_pendingTemps[slot].store(nullptr);
    slot = kNoSlot;
}

// Follows symbolic links from path to the name they end at, which need not
// exist yet (a dangling link creates the file it names).
bool ResolveLinks(const std::string& path, std::string& resolved, int& error)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth)
    {
        struct stat info{};
        if (::lstat(current.c_str(), &info) != 0)
        {
            if (errno != ENOENT)
            {
                error = errno;
                return false;
            }
            resolved = current;
            return true;
        }
        if (!S_ISLNK(info.st_mode))
        {
            resolved = current;
            return true;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0)
        {
            error = errno;
            return false;
        }
        target.resize(static_cast<size_t>(n));
        current = target.front() == '/' ? target : DirectoryOf(current) + "/" + target;
    }
    error = ELOOP;
    return false;
}

// Creates "TARGET.tmp-XXXXXX" beside target with the mode a plain creat()
// would give it, registered for removal on a signal before it can exist.
int CreateTemporary(const std::string& target, std::unique_ptr<char[]>& name, size_t& slot)
{
    const std::string stem = target + ".tmp-";
    name = std::make_unique<char[]>(stem.size() + 7);
    std::memcpy(name.get(), stem.c_str(), stem.size());
    char* suffix = name.get() + stem.size();
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    sigset_t stop;
    sigset_t before;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        uint8_t random[6] = {};
        if (::getrandom(random, sizeof random, 0) != sizeof random)
            return -1;
        for (size_t i = 0; i < 6; ++i)
            suffix[i] = kLetters[random[i] % (sizeof kLetters - 1)];
        suffix[6] = '\0';
        // No signal between creating the file and registering it.
        ::pthread_sigmask(SIG_BLOCK, &stop, &before);
        const int fd = ::open(name.get(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        const int error = errno;
        if (fd >= 0)
            slot = TakeSlot(name.get());
        ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
        if (fd >= 0)
            return fd;
        if (error != EEXIST)
        {
            errno = error;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

// fsync of one file, or syncfs of the file system it lies on; 0 or errno.
int SyncPath(const char* path, bool wholeFileSystem)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return errno;
    const int result = wholeFileSystem ? ::syncfs(fd) : ::fsync(fd);
    const int error = result != 0 ? errno : 0;
    ::close(fd);
    return error;
}

} // namespace

struct CFileBatch::TPending
{
    std::string target;           // the file to replace, links followed
    std::unique_ptr<char[]> temp; // the temporary file's name, as the signal registry holds it
    size_t slot = kNoSlot;
    dev_t device = 0;
};

CFileBatch::CFileBatch() = default;

CFileBatch::~CFileBatch()
{
    Discard();
}

void CFileBatch::Discard()
{
    for (const std::unique_ptr<TPending>& p : m_pending)
    {
        ReleaseSlot(p->slot);
        ::unlink(p->temp.get());
    }
    m_pending.clear();
}

TFileResult CFileBatch::Add(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return Add(path, std::vector<TBytes>{{bytes.data(), bytes.size()}});
}

TFileResult CFileBatch::Add(const std::string& path, const std::vector<TBytes>& parts)
{
    m_failedPath = path;
    if (path.empty())
        return TFileResult::Failure(EFileError::Unwritable, "no file name");
    auto pending = std::make_unique<TPending>();
    int error = 0;
    if (!ResolveLinks(path, pending->target, error))
        return TFileResult::Failure(EFileError::Unwritable, "cannot write file (" + ErrnoText(error) + ")");

    struct stat old{};
    const bool exists = ::stat(pending->target.c_str(), &old) == 0;
    if (exists)
    {
        if (!S_ISREG(old.st_mode))
            return TFileResult::Failure(EFileError::Unwritable, "not a regular file");
        // Root may write anything; a file with no write bit at all is still
        // meant to stay as it is (a template kept with chmod 444).
        if ((old.st_mode & 0222) == 0)
            return TFileResult::Failure(EFileError::Unwritable, ErrnoText(EACCES));
        if (::faccessat(AT_FDCWD, pending->target.c_str(), W_OK, AT_EACCESS) != 0)
            return TFileResult::Failure(EFileError::Unwritable, ErrnoText(errno));
    }

    const int fd = CreateTemporary(pending->target, pending->temp, pending->slot);
    if (fd < 0)
        return TFileResult::Failure(EFileError::Unwritable, "cannot create file (" + ErrnoText(errno) + ")");
    m_pending.push_back(std::move(pending));
    TPending& added = *m_pending.back();

    if (exists)
    {
        if (::geteuid() == 0)
            static_cast<void>(::fchown(fd, old.st_uid, old.st_gid));
        ::fchmod(fd, old.st_mode & 07777);
    }
    for (const TBytes& part : parts)
    {
        if (!WriteAll(fd, static_cast<const uint8_t*>(part.data), part.size))
        {
            error = errno;
            break;
        }
    }
    struct stat written{};
    if (error == 0 && ::fstat(fd, &written) != 0)
        error = errno;
    added.device = written.st_dev;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
    {
        ReleaseSlot(added.slot);
        ::unlink(added.temp.get());
        m_pending.pop_back();
        return TFileResult::Failure(EFileError::Unwritable, "cannot write file (" + ErrnoText(error) + ")");
    }
    return TFileResult::Success();
}

TFileResult CFileBatch::Commit()
{
    // One file is synced by itself; many at once by one sync of each file
    // system they lie on, which costs about what a single fsync does.
    int error = 0;
    if (m_pending.size() == 1)
    {
        m_failedPath = m_pending.front()->target;
        error = SyncPath(m_pending.front()->temp.get(), false);
    }
    else
    {
        std::vector<dev_t> synced;
        for (const std::unique_ptr<TPending>& p : m_pending)
        {
            if (std::find(synced.begin(), synced.end(), p->device) != synced.end())
                continue;
            synced.push_back(p->device);
            m_failedPath = p->target;
            if ((error = SyncPath(p->temp.get(), true)) != 0)
                break;
        }
    }
    if (error != 0)
    {
        Discard();
        return TFileResult::Failure(EFileError::Unwritable, "cannot write file (" + ErrnoText(error) + ")");
    }

    std::vector<std::string> folders;
    for (size_t i = 0; i < m_pending.size(); ++i)
    {
        TPending& p = *m_pending[i];
        if (::rename(p.temp.get(), p.target.c_str()) != 0)
        {
            error = errno;
            m_failedPath = p.target;
            m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(i));
            Discard();
            return TFileResult::Failure(EFileError::Unwritable,
                                        "cannot write file (" + ErrnoText(error) + ")");
        }
        ReleaseSlot(p.slot);
        const std::string folder = DirectoryOf(p.target);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    m_pending.clear();
    // Make the renames durable; a failure here no longer risks the data.
    for (const std::string& folder : folders)
    {
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0)
        {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return TFileResult::Success();
}

TFileResult WriteFileAtomically(const std::string& path, const std::vector<TBytes>& parts)
{
    CFileBatch batch;
    if (TFileResult added = batch.Add(path, parts); !added)
        return added;
    return batch.Commit();
}

TFileResult WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return WriteFileAtomically(path, std::vector<TBytes>{{bytes.data(), bytes.size()}});
}

void RemovePendingTemporaryFiles() noexcept
{
    for (std::atomic<const char*>& slot : g_pendingTemps)
    {
        if (const char* name = slot.load())
            ::unlink(name);
    }
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

TFileResult ReadWholeStream(int fd, size_t maxSize, std::vector<uint8_t>& bytes)
{
    const auto tooLarge = [maxSize]
    { return TFileResult::Failure(EFileError::TooLarge, "too large (over " + std::to_string(maxSize) + " bytes)"); };
    // A file given as the stream tells its size before it is read.
    struct stat info{};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
        static_cast<uint64_t>(info.st_size) > maxSize)
        return tooLarge();
    std::vector<uint8_t> data;
    size_t total = 0;
    while (total <= maxSize)
    {
        if (total == data.size())
            data.resize(std::min(std::max<size_t>(data.size() * 2, 64 * 1024), maxSize + 1));
        const ssize_t n = ::read(fd, data.data() + total, data.size() - total);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return TFileResult::Failure(EFileError::Unreadable, "cannot read (" + ErrnoText(errno) + ")");
        }
        if (n == 0)
            break;
        total += static_cast<size_t>(n);
    }
    if (total > maxSize)
        return tooLarge();
    data.resize(total);
    bytes = std::move(data);
    return TFileResult::Success();
}
