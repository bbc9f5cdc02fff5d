#pragma once

// Simulated panels and a ser2net serving them on the loopback, each a child
// process stopped when its object goes.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

inline pid_t SpawnChild(std::vector<std::string> argv, int stdoutFd, const std::string& logFile = {})
{
    std::vector<char*> cargv;
    for (std::string& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    if (!logFile.empty())
    {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

inline void StopChild(pid_t pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// `qelctl simulate ARGS...`; port is its pseudo-terminal.
class CSimPanel
{
public:
    explicit CSimPanel(const std::vector<std::string>& args = {})
    {
        int out[2];
        if (::pipe(out) != 0)
            throw std::runtime_error("pipe");
        std::vector<std::string> argv{QEL_BINARY_DIR "/qelctl", "simulate"};
        argv.insert(argv.end(), args.begin(), args.end());
        m_pid = SpawnChild(argv, out[1]);
        ::close(out[1]);
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            port.push_back(c);
        ::close(out[0]);
    }
    ~CSimPanel() { StopChild(m_pid); }
    CSimPanel(const CSimPanel&) = delete;
    CSimPanel& operator=(const CSimPanel&) = delete;

    std::string port;

private:
    pid_t m_pid = -1;
};

// A TCP port on 127.0.0.1 nobody listens on at the moment.
inline int FreeLoopbackPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(s);
    return ntohs(a.sin_port);
}

inline bool AcceptsOnLoopback(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

inline std::string Ser2netPath()
{
    for (const char* p : {"/usr/sbin/ser2net", "/usr/bin/ser2net", "/usr/local/sbin/ser2net"})
    {
        if (::access(p, X_OK) == 0)
            return p;
    }
    return {};
}

// ser2net in the foreground serving each device as an RFC 2217 accepter on
// its own loopback port; urls[i] reaches devices[i].
class CSer2net
{
public:
    CSer2net(const std::filesystem::path& dir, const std::vector<std::string>& devices)
    {
        const std::filesystem::path config = dir / "ser2net.yaml";
        std::ofstream yaml(config);
        std::vector<int> ports;
        for (size_t i = 0; i < devices.size(); ++i)
        {
            const int port = FreeLoopbackPort();
            ports.push_back(port);
            urls.push_back("rfc2217://127.0.0.1:" + std::to_string(port));
            yaml << "connection: &panel" << i << "\n"
                 << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << port << "\n"
                 << "  connector: serialdev," << devices[i] << ",9600n81,local\n";
        }
        yaml.close();
        m_pid = SpawnChild(
            {Ser2netPath(), "-n", "-d", "-u", "-c", config.string(), "-P", (dir / "ser2net.pid").string()},
            -1, (dir / "ser2net.log").string());
        // Listening once every accepter takes a connection; a few seconds at most.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (int port : ports)
        {
            while (!AcceptsOnLoopback(port) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~CSer2net() { StopChild(m_pid); }
    CSer2net(const CSer2net&) = delete;
    CSer2net& operator=(const CSer2net&) = delete;

    std::vector<std::string> urls;

private:
    pid_t m_pid = -1;
};
