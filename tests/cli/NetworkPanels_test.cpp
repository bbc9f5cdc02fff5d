// Panels reached over the network: qelctl against simulated panels served by
// ser2net on the loopback, and against device servers that misbehave. Real
// time: each transfer costs seconds, so these stay few, and runs that share
// no panel wait on their wires side by side.

#include "NetworkPeers.h"
#include "QelctlRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <future>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

class NetworkPanels : public ::testing::Test
{
protected:
    NetworkPanels()
    {
        dir = fs::temp_directory_path() / ("qel-net-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~NetworkPanels() override { fs::remove_all(dir); }

    // One qelctl run of several at once: its arguments and the environment
    // put before it, its output kept in a folder of its own.
    struct TRunLine
    {
        std::string args;
        std::string environment;
    };
    std::vector<TQelctlRun> RunAtOnce(const std::vector<TRunLine>& lines)
    {
        std::vector<std::future<TQelctlRun>> started;
        for (size_t i = 0; i < lines.size(); ++i)
        {
            const fs::path work = dir / ("run" + std::to_string(i));
            fs::create_directories(work);
            started.push_back(std::async(std::launch::async, [line = lines[i], work]
                                         { return RunQelctl(line.args, work, line.environment); }));
        }
        std::vector<TQelctlRun> runs;
        for (std::future<TQelctlRun>& run : started)
            runs.push_back(run.get());
        return runs;
    }

    // A template of a few blocks.
    std::string Template()
    {
        const std::string path = (dir / "layout.qel").string();
        EXPECT_EQ(RunQelctl("new " + path, dir).status, 0);
        return path;
    }

    fs::path dir;
};

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// A device server that does what the test says on one connection: confirms
// the baud rates it is asked for, and closes the connection or falls silent
// at a given point.
class CFakeServer
{
public:
    enum class EAct
    {
        CloseAtOnce,
        NeverConfirm,
        CloseOnInfoRequest,
    };

    explicit CFakeServer(EAct act) : m_act(act)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size);
        url = "rfc2217://127.0.0.1:" + std::to_string(ntohs(a.sin_port));
        m_thread = std::thread([this] { Serve(); });
    }
    ~CFakeServer()
    {
        m_stop = true;
        ::shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        ::close(m_listener);
    }

    std::string url;

private:
    void Serve()
    {
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0 || m_stop)
            return;
        const int s = ::accept(m_listener, nullptr, nullptr);
        if (s < 0)
            return;
        std::string seen;
        while (m_act != EAct::CloseAtOnce && !m_stop)
        {
            pollfd q{s, POLLIN, 0};
            if (::poll(&q, 1, 5000) <= 0)
                break;
            char buffer[512];
            const ssize_t n = ::recv(s, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            seen.append(buffer, static_cast<size_t>(n));
            if (m_act == EAct::CloseOnInfoRequest && seen.find("%reqinfo") != std::string::npos)
                break;
            const std::string setBaud{'\xFF', '\xFA', 44, 1};
            for (size_t at = seen.find(setBaud); m_act != EAct::NeverConfirm && at != std::string::npos;
                 at = seen.find(setBaud))
            {
                std::string answer = seen.substr(at, 10);
                answer[3] = 101;
                ::send(s, answer.data(), answer.size(), MSG_NOSIGNAL);
                seen.erase(0, at + 10);
            }
        }
        ::close(s);
    }

    EAct m_act;
    int m_listener = -1;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace

TEST_F(NetworkPanels, InfoDownloadAndVerifiedUploadThroughSer2net)
{
    if (Ser2netPath().empty())
        GTEST_SKIP() << "ser2net is not installed";
    const std::string layout = Template();
    // Three panels behind one server, each asked by a qelctl of its own at once.
    CSimPanel asked;
    CSimPanel receiver;
    CSimPanel holder({"--layout", layout});
    CSer2net server(dir, {asked.port, receiver.port, holder.port});
    const std::string back = (dir / "back.qel").string();
    const std::vector<TQelctlRun> runs = RunAtOnce({
        {"info --port " + server.urls[0], {}},
        {"upload --verify --no-backup --port " + server.urls[1] + " " + layout,
         "XDG_DATA_HOME='" + (dir / "data").string() + "'"},
        {"download --port " + server.urls[2] + " -o " + back, {}},
    });

    EXPECT_EQ(runs[0].status, 0) << runs[0].err;
    EXPECT_EQ(runs[0].out, "Hardware Version: 1\nFirmware Version: 201\n");

    // The simulated panel hears nothing right unless every baud rate change
    // reached its end of the line.
    EXPECT_EQ(runs[1].status, 0) << runs[1].err;
    EXPECT_NE(runs[1].out.find("Layout verified on control"), std::string::npos) << runs[1].out;
    EXPECT_FALSE(fs::exists(dir / "data"));

    EXPECT_EQ(runs[2].status, 0) << runs[2].err;
    EXPECT_EQ(RunQelctl("diff " + layout + " " + back, dir).status, 0);
}

TEST_F(NetworkPanels, DeviceServerFaultsEndInOneMessage)
{
    const int unused = FreeLoopbackPort();
    const std::string refused = "rfc2217://127.0.0.1:" + std::to_string(unused);
    CFakeServer closing(CFakeServer::EAct::CloseAtOnce);
    CFakeServer silent(CFakeServer::EAct::NeverConfirm);
    CFakeServer dropping(CFakeServer::EAct::CloseOnInfoRequest);
    const struct
    {
        std::string port;
        std::string error;
    } cases[] = {
        {refused, refused + ": connection refused"},
        {closing.url, closing.url + ": connection closed by the device server"},
        {silent.url, silent.url + ": the device server did not confirm the baud rate within 2 s"},
        {dropping.url, dropping.url + ": Serial port error; connection closed by the device server"},
        {"rfc2217://127.0.0.1", "rfc2217://127.0.0.1: not a network port: write rfc2217://HOST:PORT"},
        {"rfc2217://127.0.0.1:99999",
         "rfc2217://127.0.0.1:99999: not a network port: write rfc2217://HOST:PORT"},
    };
    std::vector<TRunLine> lines;
    for (const auto& c : cases)
        lines.push_back({"info --port " + c.port, {}});
    const std::vector<TQelctlRun> runs = RunAtOnce(lines);
    for (size_t i = 0; i < lines.size(); ++i)
    {
        EXPECT_EQ(runs[i].status, 1) << cases[i].port;
        EXPECT_EQ(runs[i].err, "qelctl: " + cases[i].error + "\n");
    }
}

TEST_F(NetworkPanels, DeployGoesOnPastAFailingPanelAndKeepsBackups)
{
    if (Ser2netPath().empty())
        GTEST_SKIP() << "ser2net is not installed";
    const std::string layout = Template();
    CSimPanel good1;
    // Each fault is spent once; refused ten times, the block is given up.
    std::vector<std::string> refusing;
    for (int i = 0; i < 10; ++i)
        refusing.insert(refusing.end(), {"--fault", "refuse-block=2"});
    CSimPanel bad(refusing);
    CSimPanel good2;
    CSer2net server(dir, {good1.port, bad.port, good2.port});
    std::ofstream(dir / "ports.txt") << "# the lobby\n"
                                     << server.urls[1] << "  # by the door\n\n"
                                     << server.urls[2] << "\n";

    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    const TQelctlRun r = RunQelctl("deploy " + layout + " --json --port " + server.urls[0] +
                                       " --ports-file " + (dir / "ports.txt").string(),
                                   dir);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(Count(r.out, "\"ok\": true"), 2u) << r.out;
    EXPECT_EQ(Count(r.out, "\"ok\": false"), 1u) << r.out;
    EXPECT_NE(r.out.find("\"result\": \"Control refused block 2 of 4; Layout not uploaded\""),
              std::string::npos)
        << r.out;
    EXPECT_LT(r.out.find(server.urls[0]), r.out.find(server.urls[1]));

    // Every panel's layout was kept before it was replaced, readable only by us.
    const fs::path backups = dir / "data/qelmorvane/backups/unnamed";
    struct stat st
    {
    };
    ASSERT_EQ(::stat(backups.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    size_t files = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(backups))
    {
        ++files;
        ASSERT_EQ(::stat(e.path().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u) << e.path();
    }
    EXPECT_EQ(files, 3u);
}

TEST_F(NetworkPanels, PortAutoUsesTheOnePanelFoundOrListsWhatWasFound)
{
    // Each search asks panels of its own, so that all of them go at once.
    const auto mute = [] { return std::make_unique<CSimPanel>(std::vector<std::string>{"--fault", "no-info"}); };
    const auto answering = [] { return std::make_unique<CSimPanel>(); };
    const auto alone = mute();
    const auto mute2 = mute(), first2 = answering();
    const auto mute3 = mute(), first3 = answering(), second3 = answering();
    const auto mute4 = mute(), second4 = answering();
    struct
    {
        std::string ports;
        int status;
        std::string out;
        std::string err;
    } const cases[] = {
        {alone->port, 1, "", "no panel answered on "},
        {mute2->port + " " + first2->port, 0, "Firmware Version: 201\n",
         "Found a QEL-1 on " + first2->port + " (firmware 201)\n"},
        {mute3->port + "," + first3->port + " " + second3->port, 1, "",
         "2 panels answered; name one with --port: " + first3->port + " (firmware 201), " + second3->port +
             " (firmware 201)\n"},
    };
    std::vector<TRunLine> lines;
    for (const auto& c : cases)
        lines.push_back({"info --port auto", "QEL_PORTS='" + c.ports + "'"});
    lines.push_back({"ports --probe --port " + second4->port, "QEL_PORTS='" + mute4->port + "'"});
    const std::vector<TQelctlRun> runs = RunAtOnce(lines);
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const auto& c = cases[i];
        const TQelctlRun& r = runs[i];
        EXPECT_EQ(r.status, c.status) << c.ports << "\n" << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    const TQelctlRun& r = runs.back();
    EXPECT_EQ(r.status, 0);
    const auto lineOf = [&r](const std::string& port)
    {
        const size_t at = r.out.find(port + " ");
        return at == std::string::npos ? std::string() : r.out.substr(at, r.out.find('\n', at) - at);
    };
    EXPECT_NE(lineOf(second4->port).find(" QEL-1, firmware 201, hardware 1"), std::string::npos) << r.out;
    EXPECT_NE(lineOf(mute4->port).find(" no panel: No response after connection"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1 panel found\n"), std::string::npos) << r.out;
}
