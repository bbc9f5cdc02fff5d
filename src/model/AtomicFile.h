#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Why a file operation failed, for callers that word it themselves.
enum class EFileError
{
    None,
    Unreadable, // cannot be opened or read
    TooLarge,   // longer than the reader takes
    NotOurs,    // too short for its magic number, or another magic number
    Damaged,    // the right kind of file, but its contents break a rule
    Unwritable, // cannot be created or written
    TooLargeToStore, // what would be written does not fit the file kind
};

// What a file operation came to: ok, or a short lowercase reason a person
// can read after the file name ("file too large (over 500000 bytes)").
struct TFileResult
{
    bool ok = true;
    std::string reason;
    EFileError error = EFileError::None;

    static TFileResult Success() { return {}; }
    static TFileResult Failure(EFileError kind, std::string why) { return {false, std::move(why), kind}; }
    explicit operator bool() const { return ok; }
};

// Replaces path with the given parts written one after another. The bytes go
// to a temporary file beside the target, are flushed to disk and then renamed
// over it, so the target is either the old file or the whole new one. On
// failure the temporary file is removed and the target left as it was.
//
// A symbolic link is followed: the file it ends at is replaced, the link kept.
// A target that is no regular file (device, FIFO, socket, folder) is refused
// with "not a regular file", one without write permission, or with no write
// bit at all even for root, with "permission denied". A replaced file keeps
// its mode (and, for root, its owner).
struct TBytes
{
    const void* data;
    size_t size;
};
TFileResult WriteFileAtomically(const std::string& path, const std::vector<TBytes>& parts);
TFileResult WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// Several files replaced as WriteFileAtomically replaces one, made durable
// together: Add writes each to its temporary file, Commit syncs them all at
// once, renames them over their targets and syncs their folders once. A batch
// destroyed before Commit removes its temporary files and touches no target.
class CFileBatch
{
public:
    CFileBatch();
    CFileBatch(const CFileBatch&) = delete;
    CFileBatch& operator=(const CFileBatch&) = delete;
    ~CFileBatch();

    TFileResult Add(const std::string& path, const std::vector<TBytes>& parts);
    TFileResult Add(const std::string& path, const std::vector<uint8_t>& bytes);
    // On failure nothing is replaced when the sync failed; when a rename
    // failed, the files before it have been replaced. FailedPath names the
    // target the failure was about.
    TFileResult Commit();
    const std::string& FailedPath() const { return m_failedPath; }

private:
    struct TPending;
    void Discard();

    std::vector<std::unique_ptr<TPending>> m_pending;
    std::string m_failedPath;
};

// Removes the temporary files of every batch not yet committed. Safe to call
// from a signal handler; the program is expected to end after it.
void RemovePendingTemporaryFiles() noexcept;

// Opens a regular file for reading; the descriptor, or -1 with failure set
// ("cannot open file (no such file or directory)", "not a regular file").
int OpenForReading(const std::string& path, TFileResult& failure);

// Reads a whole regular file of at most maxSize bytes. A larger file is
// refused without reading it ("file too large (over N bytes)").
TFileResult ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& bytes);

// Reads an open descriptor (a pipe or a terminal as well as a file) to its
// end, taking at most maxSize bytes: the buffer grows with what arrives, and
// one byte beyond the limit ends the reading with "too large (over N bytes)".
// The descriptor stays open.
TFileResult ReadWholeStream(int fd, size_t maxSize, std::vector<uint8_t>& bytes);
