#include "AtomicFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class AtomicFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qel-atomicfile-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, ec);
        fs::remove_all(m_dir, ec);
    }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    static void Put(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    static std::string Get(const std::string& path)
    {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
    static mode_t ModeOf(const std::string& path)
    {
        struct stat info{};
        ::lstat(path.c_str(), &info);
        return info.st_mode;
    }
    // Everything in the folder, so a temporary file left behind shows.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
};

} // namespace

// What a target already is decides what a write does to it; every refusal
// leaves the target as it was and no temporary file behind.
TEST_F(AtomicFileTest, TargetsAreReplacedThroughLinksAndRefusedWhenNotPlainWritableFiles)
{
    struct TCase
    {
        const char* name;
        std::function<bool(const std::string& path)> make; // false: cannot be made here
        const char* reason;                                // empty: written
    };
    const TCase cases[] = {
        {"plain file",
         [](const std::string& p)
         {
             Put(p, "old");
             return true;
         },
         ""},
        {"new file", [](const std::string&) { return true; }, ""},
        {"folder", [](const std::string& p) { return fs::create_directory(p); }, "not a regular file"},
        {"FIFO", [](const std::string& p) { return ::mkfifo(p.c_str(), 0644) == 0; }, "not a regular file"},
        {"socket",
         [](const std::string& p)
         {
             const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             p.copy(address.sun_path, sizeof address.sun_path - 1);
             const bool made = ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
             ::close(s);
             return made;
         },
         "not a regular file"},
        // The device node -o /dev/null names, made here so nothing real is at stake.
        {"device node",
         [](const std::string& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; },
         "not a regular file"},
        {"mode 444, as root too",
         [](const std::string& p)
         {
             Put(p, "old");
             return ::chmod(p.c_str(), 0444) == 0;
         },
         "permission denied"},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = Path("target");
        if (!c.make(path))
        {
            ADD_FAILURE() << "cannot make the target here: " << std::strerror(errno);
            continue;
        }
        const mode_t before = ModeOf(path);
        const std::string oldText = S_ISREG(before) ? Get(path) : "";
        const TFileResult r = WriteFileAtomically(path, Bytes("new"));
        EXPECT_EQ(r.reason, c.reason);
        if (*c.reason == '\0')
        {
            EXPECT_TRUE(r.ok);
            EXPECT_EQ(Get(path), "new");
        }
        else
        {
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(ModeOf(path), before);
            if (S_ISREG(before))
            {
                EXPECT_EQ(Get(path), oldText);
            }
        }
        EXPECT_EQ(Names(), std::vector<std::string>{"target"});
        fs::remove_all(path);
    }
}

TEST_F(AtomicFileTest, ALinkStaysAndTheFileItNamesIsReplacedKeepingItsMode)
{
    fs::create_directory(Path("real"));
    Put(Path("real/lobby.qel"), "old");
    ::chmod(Path("real/lobby.qel").c_str(), 0640);
    fs::create_symlink("real/lobby.qel", Path("link.qel"));
    fs::create_symlink("link.qel", Path("link2.qel"));        // a link to a link
    fs::create_symlink("real/new.qel", Path("dangling.qel")); // names a file not made yet

    ASSERT_TRUE(WriteFileAtomically(Path("link2.qel"), Bytes("new")).ok);
    ASSERT_TRUE(WriteFileAtomically(Path("dangling.qel"), Bytes("made")).ok);

    EXPECT_TRUE(fs::is_symlink(Path("link.qel")));
    EXPECT_TRUE(fs::is_symlink(Path("link2.qel")));
    EXPECT_TRUE(fs::is_symlink(Path("dangling.qel")));
    EXPECT_EQ(Get(Path("real/lobby.qel")), "new");
    EXPECT_EQ(Get(Path("real/new.qel")), "made");
    EXPECT_EQ(ModeOf(Path("real/lobby.qel")) & 07777, 0640u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"dangling.qel", "link.qel", "link2.qel", "real"}));
}

TEST_F(AtomicFileTest, ABatchReplacesNothingUntilCommitAndLeavesNoTemporaryFiles)
{
    Put(Path("a.png"), "old a");
    {
        CFileBatch batch;
        ASSERT_TRUE(batch.Add(Path("a.png"), Bytes("new a")).ok);
        ASSERT_TRUE(batch.Add(Path("b.png"), Bytes("new b")).ok);
        EXPECT_EQ(Get(Path("a.png")), "old a");
        EXPECT_EQ(Names().size(), 3u); // a.png and two temporary files
        // What a signal handler does before the program ends.
        RemovePendingTemporaryFiles();
        EXPECT_EQ(Names(), std::vector<std::string>{"a.png"});
    }
    {
        CFileBatch batch;
        ASSERT_TRUE(batch.Add(Path("a.png"), Bytes("new a")).ok);
        fs::create_directory(Path("c.png"));
        const TFileResult refused = batch.Add(Path("c.png"), Bytes("c"));
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(batch.FailedPath(), Path("c.png"));
    } // dropped without Commit
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.png", "c.png"}));
    EXPECT_EQ(Get(Path("a.png")), "old a");

    CFileBatch batch;
    for (const char* name : {"a.png", "b.png", "d.png"})
        ASSERT_TRUE(batch.Add(Path(name), Bytes(std::string("new ") + name)).ok);
    ASSERT_TRUE(batch.Commit().ok);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.png", "b.png", "c.png", "d.png"}));
    EXPECT_EQ(Get(Path("a.png")), "new a.png");
    EXPECT_EQ(Get(Path("d.png")), "new d.png");
}

// A pipe is read to its end within the limit, whatever its size; one byte
// more is refused. A file given as the stream is refused by its size.
TEST_F(AtomicFileTest, AStreamIsReadWholeWithinTheLimit)
{
    constexpr size_t kLimit = 200000; // past the first buffer's size
    // The writer learns of the reader's end by EPIPE.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    const struct
    {
        size_t size;
        bool fits;
    } cases[] = {{0, true}, {1, true}, {65536, true}, {kLimit, true}, {kLimit + 1, false}, {3 * kLimit, false}};
    for (const auto& c : cases)
    {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        std::vector<uint8_t> sent(c.size);
        for (size_t i = 0; i < sent.size(); ++i)
            sent[i] = static_cast<uint8_t>(i * 7);
        // The writer stops where the reader does: a refused stream is not
        // read further than one byte past the limit.
        std::thread writer(
            [&]
            {
                size_t at = 0;
                while (at < sent.size())
                {
                    const ssize_t n = ::write(ends[1], sent.data() + at, sent.size() - at);
                    if (n <= 0)
                        break;
                    at += static_cast<size_t>(n);
                }
                ::close(ends[1]);
            });
        std::vector<uint8_t> read = {9};
        const TFileResult result = ReadWholeStream(ends[0], kLimit, read);
        ::close(ends[0]);
        writer.join();
        EXPECT_EQ(static_cast<bool>(result), c.fits) << c.size;
        if (c.fits)
            EXPECT_EQ(read, sent) << c.size;
        else
            EXPECT_EQ(result.reason, "too large (over 200000 bytes)") << c.size;
    }
    std::signal(SIGPIPE, previous);

    Put(Path("large"), std::string(kLimit + 1, 'x'));
    const int fd = ::open(Path("large").c_str(), O_RDONLY);
    std::vector<uint8_t> read;
    const TFileResult result = ReadWholeStream(fd, kLimit, read);
    ::close(fd);
    EXPECT_EQ(result.error, EFileError::TooLarge);
}
