// "-" for standard input and -o - for standard output, as git and coreutils
// take them, and how a write to standard output that fails ends a command.

#include "QelctlRun.h"
#include "SampleLayouts.h"

#include "LayoutFile.h"
#include "UserPageFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class StdStreams : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("QEL_CODEPAGE", "1252", 1);
        m_dir = fs::temp_directory_path() / ("qel-stdstreams-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        // A template of every record, one that differs from it, and a page
        // of it as a user page file.
        TLayout every = EveryRecord();
        ASSERT_TRUE(SaveTemplateFile(every, Path("every.qel")).ok);
        ASSERT_TRUE(LoadTemplateFile(every, Path("every.qel")).ok);
        Write("lobby.qup", StoreUserPage(every, dynamic_cast<const TUserPage&>(*every.pages.At(0))));
        every.controlName = u"Bar";
        ASSERT_TRUE(SaveTemplateFile(every, Path("other.qel")).ok);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::string Q(const std::string& name) const { return "'" + Path(name) + "'"; }
    std::string Read(const std::string& name) const { return ReadTextFile(Path(name)); }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TQelctlRun Qelctl(const std::string& arguments) const { return RunQelctl(arguments, m_dir); }
    TQelctlRun Piped(const std::string& arguments, const std::string& input) const
    {
        return RunQelctlPiped(arguments, input, m_dir);
    }

    fs::path m_dir;
};

} // namespace

// Each command reads "-" as it reads the file, and writes "-o -" as it
// writes the file; messages name the file only where the file was given.
TEST_F(StdStreams, DashReadsStandardInputAndWritesStandardOutput)
{
    const struct
    {
        const char* input;     // fed through a pipe
        std::string piped;     // the command reading it, writing stdout
        std::string withFiles; // the same command on files
        const char* written;   // the file it writes, or null for stdout
    } cases[] = {
        {"every.qel", "dump -", "dump " + Q("every.qel"), nullptr},
        {"every.qel", "dump - --textconv -o -", "dump --textconv " + Q("every.qel"), nullptr},
        {"lobby.qup", "dump -", "dump " + Q("lobby.qup"), nullptr},
        {"other.qel", "diff " + Q("every.qel") + " -", "diff " + Q("every.qel") + " " + Q("other.qel"),
         nullptr},
        {"every.qel", "diff - " + Q("other.qel"), "diff " + Q("every.qel") + " " + Q("other.qel"), nullptr},
        {"every.qel", "check - --json", "check --json " + Q("every.qel"), nullptr},
        {"every.qel", "render - 1 --select 2 -o -",
         "render " + Q("every.qel") + " 1 --select 2 -o " + Q("out"), "out"},
        {"every.qel", "render - Lobby --thumbnail 64 -o -",
         "render " + Q("every.qel") + " Lobby --thumbnail 64 -o " + Q("out"), "out"},
        {"every.qel", "export-image - 10000 -o -", "export-image " + Q("every.qel") + " 10000 -o " + Q("out"),
         "out"},
        {"every.qel", "export-page - 1 -o -", "export-page " + Q("every.qel") + " 1 -o " + Q("out"), "out"},
        {"every.qel", "resave - -", "resave " + Q("every.qel") + " " + Q("out"), "out"},
        {"every.qel", "remove-image - 10002 -o -", "remove-image " + Q("every.qel") + " 10002 -o " + Q("out"),
         "out"},
        {"lobby.qup", "import-page " + Q("every.qel") + " - -o " + Q("piped.qel"),
         "import-page " + Q("every.qel") + " " + Q("lobby.qup") + " -o " + Q("out"), "out"},
    };
    for (const auto& c : cases)
    {
        const TQelctlRun piped = Piped(c.piped, Read(c.input));
        const std::string pipedOut =
            c.piped.find("piped.qel") != std::string::npos ? Read("piped.qel") : piped.out;
        const TQelctlRun files = Qelctl(c.withFiles);
        EXPECT_EQ(piped.status, files.status) << c.piped << ": " << piped.err;
        EXPECT_EQ(piped.err, "") << c.piped;
        EXPECT_FALSE(pipedOut.empty()) << c.piped;
        EXPECT_EQ(pipedOut, c.written != nullptr ? Read(c.written) : files.out) << c.piped;
    }

    // Findings that name their file name standard input.
    TQelctlRun run = Piped("check -", Read("every.qel"));
    std::string expected = Qelctl("check " + Q("every.qel")).out;
    ASSERT_FALSE(expected.empty());
    for (size_t at = 0; (at = expected.find(Path("every.qel"), at)) != std::string::npos;)
        expected.replace(at, Path("every.qel").size(), "standard input");
    EXPECT_EQ(run.out, expected);

    // A picture from standard input is taken as its file is.
    ASSERT_EQ(Qelctl("export-image " + Q("every.qel") + " 10000 -o " + Q("pic.png")).status, 0);
    run = Piped("add-image " + Q("every.qel") + " - --name P -o " + Q("piped.qel"), Read("pic.png"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "10003\n");
    ASSERT_EQ(Qelctl("add-image " + Q("every.qel") + " " + Q("pic.png") + " --name P -o " + Q("out")).status,
              0);
    EXPECT_EQ(Qelctl("export-image " + Q("piped.qel") + " 10003 -o -").out,
              Qelctl("export-image " + Q("out") + " 10003 -o -").out);

    // dump - | build - -o - gives the template back byte for byte.
    run = Piped("dump -", Read("every.qel"));
    ASSERT_EQ(run.status, 0) << run.err;
    run = Piped("build - -o -", run.out);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, Read("every.qel"));
}

// One line naming standard input, the usual status, and nothing written.
TEST_F(StdStreams, RefusalsNameStandardInputAndWriteNothing)
{
    const std::string json = Piped("dump -", Read("every.qel")).out;
    const struct
    {
        std::string arguments;
        std::string input;
        int status;
        std::string err; // the whole of it, or its start for a usage error
    } cases[] = {
        {"dump -", "QEL", 1, "qelctl: standard input: not a QEL-1 template or user page (too short)\n"},
        {"check -", std::string(500001, 'x'), 1, "qelctl: standard input: too large (over 500000 bytes)\n"},
        {"dump --raw - -o " + Q("out"), std::string(512001, 'x'), 1,
         "qelctl: standard input: too large (over 512000 bytes)\n"},
        {"build - -o " + Q("out"), std::string(32u << 20, ' ') + "{}", 1,
         "qelctl: standard input: too large (over 33554432 bytes)\n"},
        {"build - -o " + Q("out"), "{\"kind\": 7}", 1,
         "qelctl: standard input:1:2: \"kind\" must be \"template\", \"layout\" or \"userpage\"\n"},
        {"diff " + Q("every.qel") + " -", "", 2,
         "qelctl: standard input: not a QEL-1 template (too short)\n"},
        {"add-image " + Q("every.qel") + " - --name P -o " + Q("out"), "GIF89a", 1,
         "qelctl: standard input: not a picture in a format we read\n"},
        {"import-page " + Q("every.qel") + " - -o " + Q("out"), "x", 1,
         "qelctl: standard input: not a QEL-1 user page (too short)\n"},
        // Standard input is read once.
        {"diff - -", json, 2, "qelctl: standard input (-) can be read only once\nusage: qelctl diff"},
        {"import-page - - -o " + Q("out"), "", 2, "qelctl: standard input (-) can be read only once\n"},
        // A template from standard input has nowhere to go back to, and
        // commands that print their result keep standard output for it.
        {"remove-image - 10002", "", 2,
         "qelctl: a template read from standard input is written with -o OUT.qel\n"},
        {"add-label - --text A --name A -o -", "", 2,
         "qelctl: add-label prints its result on standard output: -o - cannot take the template\n"},
    };
    for (const auto& c : cases)
    {
        const TQelctlRun run = Piped(c.arguments, c.input);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        if (c.status == 2)
            EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << c.arguments << ": " << run.err;
        else
            EXPECT_EQ(run.err, c.err) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_FALSE(fs::exists(Path("out"))) << c.arguments;
    }
}

// Binary output goes to no terminal; text does.
TEST_F(StdStreams, BinaryOutputIsNotWrittenToATerminal)
{
    const std::string template_ = Q("every.qel");
    const std::string commands[] = {
        "new -",
        "render " + template_ + " 1 -o -",
        "export-image " + template_ + " 10000 -o -",
        "export-page " + template_ + " 1 -o -",
        "resave " + template_ + " -",
        "build - -o - < " + Q("json"),
    };
    ASSERT_EQ(Qelctl("dump " + template_ + " -o " + Q("json")).status, 0);
    for (const std::string& command : commands)
    {
        // script(1) gives the command a terminal of its own.
        const TQelctlRun run =
            RunShell("script -qec \"" + QelctlCommand(command) + " 2>" + Q("err") + "\" /dev/null", m_dir);
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(Read("err"), "qelctl: standard output: is a terminal; binary output is not written there "
                               "(redirect it or give a file)\n")
            << command;
        EXPECT_EQ(run.out.find("PNG"), std::string::npos) << command;
        EXPECT_LT(run.out.size(), 100u) << command;
    }
    const TQelctlRun run =
        RunShell("script -qec \"" + QelctlCommand("dump " + template_ + " -o -") + "\" /dev/null", m_dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"kind\": \"template\""), std::string::npos);
}

// A reader that goes away ends the command quietly, with the status SIGPIPE
// gives, as git does; any other failed write is one line and status 1 (2 for
// diff, whose 1 says the layouts differ).
TEST_F(StdStreams, AFailedWriteToStandardOutputIsTold)
{
    // Noise takes far more than a pipe holds once it is in base64.
    TLayout noisy;
    noisy.images.AddImage(u"Noise", NoisePicture());
    ASSERT_TRUE(SaveTemplateFile(noisy, Path("noisy.qel")).ok);
    const TQelctlRun closed = RunShell("{ " + QelctlCommand("dump " + Q("noisy.qel")) + "; echo $? >" +
                                           Q("status") + "; } | head -c 1",
                                       m_dir);
    EXPECT_EQ(closed.err, "");
    EXPECT_EQ(Read("status"), "141\n");

    const struct
    {
        std::string arguments;
        int status;
    } cases[] = {
        {"dump " + Q("every.qel"), 1},
        {"dump " + Q("every.qel") + " -o -", 1},
        {"check --json " + Q("every.qel"), 1},
        {"diff " + Q("every.qel") + " " + Q("other.qel"), 2},
        {"render " + Q("every.qel") + " 1 -o -", 1},
        {"new -", 1},
    };
    for (const auto& c : cases)
    {
        const TQelctlRun run = Qelctl(c.arguments + " >/dev/full");
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.err, "qelctl: standard output: cannot write (no space left on device)\n")
            << c.arguments;
    }
}
