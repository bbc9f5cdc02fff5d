#pragma once

#include "Options.h"

#include <string>
#include <vector>

// Exit statuses of qelctl.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // an input unreadable, malformed, too large or of the wrong kind
constexpr int kExitUsage = 2;
// The reader of standard output closed it before all was written; told by
// nothing but this status, the one a process ended by SIGPIPE has, as git does.
constexpr int kExitClosedPipe = 141;

// One qelctl subcommand. Each source file of the tool registers its commands
// with a static CCommandRegistrar, so adding a command touches only its file.
// The arguments are parsed against what the command declares before it runs.
struct TCommand
{
    const char* name;
    const char* synopsis; // "new OUT.qel"
    const char* summary;  // one line for the command list
    const char* help;     // the full --help text, after the synopsis
    TArgSpec args;
    int (*run)(const TArgs& args);
};

class CCommandRegistry
{
public:
    static CCommandRegistry& Instance();
    void Add(const TCommand& command);
    const TCommand* Find(const std::string& name) const;
    const std::vector<TCommand>& All() const { return m_commands; }

private:
    std::vector<TCommand> m_commands;
};

struct CCommandRegistrar
{
    explicit CCommandRegistrar(const TCommand& command) { CCommandRegistry::Instance().Add(command); }
};

// Prints "qelctl: SUBJECT: reason" on stderr and returns kExitFailure.
int Fail(const std::string& subject, const std::string& reason);
// Prints "qelctl: reason" and the command's synopsis on stderr; returns kExitUsage.
int UsageError(const TCommand& command, const std::string& reason);
// True when args holds -h or --help; then the command's help has been printed.
bool HandleHelp(const TCommand& command, const std::vector<std::string>& args);
// Parses the arguments as the command declares them and runs it.
int RunCommand(const TCommand& command, const std::vector<std::string>& args);
