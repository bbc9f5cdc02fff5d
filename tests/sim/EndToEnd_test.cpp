// The real tool against the simulated panel over a pseudo-terminal, in real
// time: each transfer costs half a second per block, so these stay few, and
// runs against panels of their own wait on their wires side by side.

#include "Layout.h"
#include "LayoutFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace
{

const std::string kQelctl = std::string(QEL_BINARY_DIR) + "/qelctl";

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct TRun
{
    int status;
    std::string out;
    std::string err;
};

// `qelctl simulate ARGS...` in a child process, stopped when the test ends.
class CSimProcess
{
public:
    CSimProcess(const fs::path& dir, std::vector<std::string> args)
    {
        int out[2];
        if (::pipe(out) != 0)
            throw std::runtime_error("pipe");
        std::vector<std::string> argv{kQelctl, "simulate", "--store", (dir / "store").string(), "--log",
                                      (dir / "wire.log").string()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (std::string& a : argv)
            cargv.push_back(a.data());
        cargv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string err = (dir / "sim.err").string();
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        const int rc = posix_spawn(&m_pid, kQelctl.c_str(), &actions, nullptr, cargv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (rc != 0)
            throw std::runtime_error("cannot start qelctl simulate");
        // The first line of its output names the terminal.
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            port.push_back(c);
        ::close(out[0]);
    }
    ~CSimProcess()
    {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }

    std::string port;

private:
    pid_t m_pid = -1;
};

class EndToEnd : public ::testing::Test
{
protected:
    EndToEnd()
    {
        dir = fs::temp_directory_path() /
              ("qel-e2e-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        // Backups of the panels' layouts go here, never into the real home.
        ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    }
    ~EndToEnd() override { fs::remove_all(dir); }

    // A folder of its own for one of the test's simulated panels.
    fs::path PanelDir(const std::string& name)
    {
        fs::create_directories(dir / name);
        return dir / name;
    }

    // qelctl ARGS; name keeps its output apart from that of runs beside it.
    // environment ("NAME='VALUE' ...") holds for this run alone.
    TRun Qelctl(const std::string& args, const std::string& name = "qelctl",
                const std::string& environment = {})
    {
        const fs::path out = dir / (name + ".out");
        const fs::path err = dir / (name + ".err");
        const std::string command =
            environment + " " + kQelctl + " " + args + " >" + out.string() + " 2>" + err.string();
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    }

    // Whether the wire log of the panel in dir shows the texts, in this order,
    // within the time given: the panel is a process of its own and logs what
    // it hears when it gets to it, on a busy machine after the tool has ended.
    bool WireLogShows(const std::vector<std::string>& texts, std::chrono::seconds within)
    {
        return WireLogShows(dir, texts, within);
    }
    bool WireLogShows(const fs::path& panelDir, const std::vector<std::string>& texts,
                      std::chrono::seconds within)
    {
        const auto shows = [&]
        {
            const std::string log = ReadFile(panelDir / "wire.log");
            size_t at = 0;
            for (const std::string& text : texts)
            {
                at = log.find(text, at);
                if (at == std::string::npos)
                    return false;
            }
            return true;
        };
        const auto deadline = std::chrono::steady_clock::now() + within;
        while (!shows())
        {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // qelctl with argv (the program's name left out) in the background, its
    // output in name.out and name.err, sent SIGINT once the wire log of the
    // panel in panelDir shows the texts; its exit status, -1 when a signal
    // ended it.
    std::future<int> StopOnceLogged(std::vector<std::string> argv, const std::string& name,
                                    const fs::path& panelDir, std::vector<std::string> texts)
    {
        argv.insert(argv.begin(), kQelctl);
        const std::string out = (dir / (name + ".out")).string();
        const std::string err = (dir / (name + ".err")).string();
        std::vector<char*> cargv;
        for (std::string& a : argv)
            cargv.push_back(a.data());
        cargv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        pid_t pid = -1;
        const int rc = posix_spawn(&pid, kQelctl.c_str(), &actions, nullptr, cargv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            throw std::runtime_error("cannot start qelctl");
        return std::async(std::launch::async,
                          [this, pid, panelDir, texts]
                          {
                              WireLogShows(panelDir, texts, std::chrono::seconds(20));
                              ::kill(pid, SIGINT);
                              int status = 0;
                              ::waitpid(pid, &status, 0);
                              return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                          });
    }

    // qelctl ARGS in the background, beside whatever the test does meanwhile.
    std::future<TRun> QelctlBeside(const std::string& args, const std::string& name,
                                   const std::string& environment = {})
    {
        return std::async(std::launch::async,
                          [this, args, name, environment] { return Qelctl(args, name, environment); });
    }

    // One run of several at once: its arguments and its own environment.
    struct TLine
    {
        TLine(const char* a) : args(a) {}
        TLine(std::string a, std::string e = {}) : args(std::move(a)), environment(std::move(e)) {}
        std::string args;
        std::string environment;
    };

    // Each argument line at once, each a qelctl of its own.
    std::vector<TRun> QelctlAtOnce(const std::vector<TLine>& lines)
    {
        std::vector<std::future<TRun>> started;
        for (size_t i = 0; i < lines.size(); ++i)
            started.push_back(QelctlBeside(lines[i].args, "run" + std::to_string(i), lines[i].environment));
        std::vector<TRun> runs;
        for (std::future<TRun>& run : started)
            runs.push_back(run.get());
        return runs;
    }

    fs::path dir;
};

} // namespace

TEST_F(EndToEnd, InfoReportsTheVersionsOrThatNoneCame)
{
    CSimProcess sim(PanelDir("versions"), {"--firmware", "230", "--hardware", "7"});
    CSimProcess mute(PanelDir("mute"), {"--fault", "no-info"});
    ASSERT_FALSE(sim.port.empty());
    ASSERT_FALSE(mute.port.empty());
    const std::vector<TRun> runs = QelctlAtOnce(
        {"info --port " + sim.port, "info --port " + mute.port, "info --port /dev/qel-no-such-port"});

    EXPECT_EQ(runs[0].status, 0) << runs[0].err;
    EXPECT_EQ(runs[0].out, "Hardware Version: 7\nFirmware Version: 230\n");
    EXPECT_EQ(runs[1].status, 1);
    EXPECT_EQ(runs[1].err,
              "qelctl: " + mute.port + ": No response after connection; Firmware version may be pre 2.00\n");
    EXPECT_EQ(runs[2].status, 1);
    EXPECT_EQ(runs[2].err, "qelctl: /dev/qel-no-such-port: no such device\n");
}

// The layout goes up to a panel that refuses a block once and comes down
// from one holding the same file that corrupts a block once: the tool gets
// past both, and what the panel kept and what came back are the file itself.
TEST_F(EndToEnd, UploadAndDownloadCarryTheLayoutWholeThroughInjectedFaults)
{
    TLayout edited;
    edited.controlName = u"Lobby";
    edited.sleepTimeout = 45;
    const fs::path in = dir / "in.qel";
    ASSERT_TRUE(SaveTemplateFile(edited, in.string()));

    CSimProcess receiver(PanelDir("receiver"), {"--fault", "refuse-block=2"});
    CSimProcess holder(PanelDir("holder"), {"--layout", in.string(), "--fault", "corrupt-block=2"});
    const fs::path back = dir / "back.qel";
    const std::vector<TRun> runs =
        QelctlAtOnce({"upload --no-backup --no-verify --port " + receiver.port + " " + in.string(),
                      "download --port " + holder.port + " -o " + back.string()});
    const TRun& up = runs[0];
    const TRun& down = runs[1];
    ASSERT_EQ(up.status, 0) << up.err;
    EXPECT_EQ(ReadFile(dir / "receiver/store/layout-001.qel"), ReadFile(in));
    // Neither kept nor read back, nor counted in the time announced.
    EXPECT_EQ(up.out.find("read back"), std::string::npos) << up.out;
    EXPECT_EQ(up.out.substr(up.out.find('\n') + 1), "Uploaded layout to control (3904 bytes in 4 blocks)\n");
    EXPECT_FALSE(fs::exists(dir / "data"));

    ASSERT_EQ(down.status, 0) << down.err;
    EXPECT_EQ(down.out, "Connected Succesfully\nHardware Version: 1\nFirmware Version: 201\n"
                        "Downloaded layout from control\n");
    EXPECT_EQ(ReadFile(back), ReadFile(in));
    TLayout loaded;
    ASSERT_TRUE(LoadTemplateFile(loaded, back.string()));
    EXPECT_EQ(loaded.controlName, u"Lobby");
    EXPECT_EQ(loaded.sleepTimeout, 45);

    EXPECT_NE(ReadFile(dir / "receiver/wire.log").find("refusing block 2 (fault)"), std::string::npos);
    EXPECT_NE(ReadFile(dir / "holder/wire.log").find("corrupting download block 2"), std::string::npos);
}

// By default the layout a panel holds is kept before it is replaced, and
// what was sent is read back. Beside it, a panel that keeps a damaged copy,
// and one whose layout finds no folder to be kept in.
TEST_F(EndToEnd, UploadKeepsABackupFirstAndReadsTheLayoutBack)
{
    TLayout layout;
    layout.controlName = u"Hall";
    const fs::path in = dir / "in.qel";
    ASSERT_TRUE(SaveTemplateFile(layout, in.string()));
    TLayout before;
    before.controlName = u"Hall Way";
    before.sleepTimeout = 45;
    const fs::path held = dir / "held.qel";
    ASSERT_TRUE(SaveTemplateFile(before, held.string()));
    std::ofstream(dir / "file") << "a file where a folder should be";
    const std::string announced = "Layout: 3,902 of the panel's 512,000 bytes (0.8%), 4 blocks: about ";

    CSimProcess damaging(PanelDir("damaging"), {"--fault", "corrupt-store=100"});
    CSimProcess sound(PanelDir("sound"), {"--layout", held.string()});
    CSimProcess unkept(PanelDir("unkept"), {});
    const std::vector<TRun> runs = QelctlAtOnce({
        {"upload --verify --no-backup --port " + damaging.port + " " + in.string()},
        {"upload --port " + sound.port + " " + in.string()},
        {"upload --port " + unkept.port + " " + in.string(),
         "XDG_DATA_HOME='" + (dir / "file").string() + "'"},
    });
    const TRun& r = runs[0];
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind(announced, 0), 0u) << r.out;
    EXPECT_EQ(r.err, "qelctl: " + damaging.port +
                         ": Layout on control differs from the one sent at byte 100; Upload not verified\n");

    // The backup is the layout the panel held, named after its control,
    // readable only by us, and was taken before the upload.
    const TRun& ok = runs[1];
    ASSERT_EQ(ok.status, 0) << ok.err;
    const fs::path folder = dir / "data/qelmorvane/backups/Hall_Way";
    const size_t backupAt = ok.out.find("\nBackup: " + folder.string() + "/");
    ASSERT_NE(backupAt, std::string::npos) << ok.out;
    EXPECT_NE(ok.out.substr(0, backupAt).find(" to send, "), std::string::npos) << ok.out;
    EXPECT_NE(ok.out.substr(0, backupAt).find(" to read back"), std::string::npos) << ok.out;
    const size_t pathAt = backupAt + std::string("\nBackup: ").size();
    const fs::path backup = ok.out.substr(pathAt, ok.out.find('\n', pathAt) - pathAt);
    EXPECT_EQ(ok.out.substr(ok.out.find('\n', pathAt) + 1),
              "Uploaded layout to control (3902 bytes in 4 blocks)\nLayout verified on control\n");
    EXPECT_EQ(backup.filename().string().size(), std::string("YYYYMMDD-HHMMSS.qel").size()) << backup;
    EXPECT_EQ(ReadFile(backup), ReadFile(held));
    EXPECT_EQ(ReadFile(dir / "sound/store/layout-001.qel"), ReadFile(in));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(backup.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // --no-backup kept nothing: the one folder is the sound panel's.
    EXPECT_EQ(
        std::distance(fs::directory_iterator(dir / "data/qelmorvane/backups"), fs::directory_iterator()), 1);

    // A backup that cannot be saved stops the upload before anything is sent.
    const TRun& unsaved = runs[2];
    EXPECT_EQ(unsaved.status, 1);
    EXPECT_EQ(unsaved.err, "qelctl: " + unkept.port + ": backup not saved: cannot create folder " +
                               (dir / "file/qelmorvane").string() + " (Not a directory); Nothing sent\n");
    EXPECT_EQ(unsaved.out.find('\n'), unsaved.out.size() - 1) << unsaved.out;
    EXPECT_FALSE(fs::exists(dir / "unkept/store/layout-001.qel"));
    EXPECT_EQ(ReadFile(dir / "unkept/wire.log").find("binblock"), std::string::npos);
}

TEST_F(EndToEnd, UploadNeedsFirmware201)
{
    TLayout layout;
    const fs::path in = dir / "in.qel";
    ASSERT_TRUE(SaveTemplateFile(layout, in.string()));
    CSimProcess sim(dir, {"--firmware", "200"});
    const TRun r = Qelctl("upload --port " + sim.port + " " + in.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "qelctl: " + sim.port +
                         ": the panel's firmware (200) takes no layout uploads; 201 or later is needed\n");
    EXPECT_FALSE(fs::exists(dir / "store/layout-001.qel"));
}

TEST_F(EndToEnd, FirmwareIsSentWholeAndThePortClosed)
{
    std::string firmware(1500, '\0');
    for (size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<char>(i * 37 + 11);
    std::ofstream(dir / "new.qfw", std::ios::binary) << firmware;
    std::ofstream(dir / "empty.qfw", std::ios::binary);

    CSimProcess sim(dir, {});
    const TRun empty = Qelctl("firmware --port " + sim.port + " " + (dir / "empty.qfw").string());
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err,
              "qelctl: " + (dir / "empty.qfw").string() + ": Firmware file is empty; Nothing sent\n");

    const TRun r = Qelctl("firmware --port " + sim.port + " " + (dir / "new.qfw").string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Firmware updated\nControl will restart automaticaly\nDisconnected\n");
    EXPECT_EQ(ReadFile(dir / "store/firmware-001.qfw"), firmware);
}

// SIGINT in the middle of an upload, and in the middle of the backup's
// download before another: the tool tells the panel to return to 9600 baud
// before it ends, so the next command finds it answering. Beside them, a
// whole upload to a panel whose store cannot keep a layout.
TEST_F(EndToEnd, AStoppedUploadLeavesThePanelAnswering)
{
    TLayout layout;
    const fs::path in = dir / "in.qel";
    ASSERT_TRUE(SaveTemplateFile(layout, in.string()));
    // The store cannot keep a layout: the panel must say so rather than keep quiet.
    fs::create_directories(dir / "keeper/store/layout-001.qel");
    CSimProcess keeper(dir / "keeper", {});
    std::future<TRun> whole =
        QelctlBeside("upload --no-backup --no-verify --port " + keeper.port + " " + in.string(), "whole");
    CSimProcess sim(dir, {});
    CSimProcess backing(PanelDir("backing"), {});

    // Stop the upload once the panel has acknowledged its first block at
    // 115200 baud: the tool is then in its reply window, and the %lowbaud it
    // sends when stopped reaches the panel apart from the block, on a log
    // line of its own. Stop the other once the backup's download has begun
    // (its %highbaud comes first): well over a second before anything is kept.
    std::future<int> uploading = StopOnceLogged({"upload", "--no-backup", "--port", sim.port, in.string()},
                                                "upload", dir, {"binblock", "%return 0"});
    std::future<int> backingUp = StopOnceLogged({"upload", "--port", backing.port, in.string()}, "backup",
                                                dir / "backing", {"%highbaud"});
    EXPECT_EQ(uploading.get(), 130);
    EXPECT_EQ(ReadFile(dir / "upload.err"), "qelctl: " + sim.port + ": Cancelled; Layout not uploaded\n");
    EXPECT_TRUE(WireLogShows({"lowbaud"}, std::chrono::seconds(10))) << ReadFile(dir / "wire.log");
    EXPECT_EQ(backingUp.get(), 130);
    EXPECT_EQ(ReadFile(dir / "backup.err"), "qelctl: " + backing.port + ": Cancelled; Layout not uploaded\n");
    EXPECT_EQ(ReadFile(dir / "backup.out").find("Backup"), std::string::npos) << ReadFile(dir / "backup.out");
    EXPECT_TRUE(WireLogShows(dir / "backing", {"%highbaud", "lowbaud"}, std::chrono::seconds(10)))
        << ReadFile(dir / "backing/wire.log");
    EXPECT_EQ(ReadFile(dir / "backing/wire.log").find("binblock"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "data"));

    const std::vector<TRun> infos = QelctlAtOnce({"info --port " + sim.port, "info --port " + backing.port});
    for (const TRun& info : infos)
    {
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_EQ(info.out, "Hardware Version: 1\nFirmware Version: 201\n");
    }

    // A port another program holds is busy, for root too.
    {
        const int held = ::open(sim.port.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(held, 0);
        ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
        const TRun busy = Qelctl("info --port " + sim.port);
        EXPECT_EQ(busy.status, 1);
        EXPECT_EQ(busy.err, "qelctl: " + sim.port + ": busy: another program is using the port\n");
        ::close(held);
    }

    const TRun kept = whole.get();
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_NE(ReadFile(dir / "keeper/sim.err")
                  .find("layout-001.qel: could not keep what the panel received: not a regular file"),
              std::string::npos)
        << ReadFile(dir / "keeper/sim.err");
}
