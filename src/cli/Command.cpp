#include "Command.h"

#include <algorithm>
#include <cstdio>

CCommandRegistry& CCommandRegistry::Instance()
{
    static CCommandRegistry registry;
    return registry;
}

void CCommandRegistry::Add(const TCommand& command)
{
    m_commands.push_back(command);
    std::sort(m_commands.begin(), m_commands.end(),
              [](const TCommand& a, const TCommand& b) { return std::string(a.name) < b.name; });
}

const TCommand* CCommandRegistry::Find(const std::string& name) const
{
    for (const TCommand& c : m_commands)
    {
        if (name == c.name)
            return &c;
    }
    return nullptr;
}

int Fail(const std::string& subject, const std::string& reason)
{
    std::fprintf(stderr, "qelctl: %s: %s\n", subject.c_str(), reason.c_str());
    return kExitFailure;
}

int UsageError(const TCommand& command, const std::string& reason)
{
    std::fprintf(stderr, "qelctl: %s\nusage: qelctl %s\n", reason.c_str(), command.synopsis);
    return kExitUsage;
}

bool HandleHelp(const TCommand& command, const std::vector<std::string>& args)
{
    for (const std::string& a : args)
    {
        if (a == "-h" || a == "--help")
        {
            std::printf("usage: qelctl %s\n\n%s\n", command.synopsis, command.help);
            return true;
        }
    }
    return false;
}

int RunCommand(const TCommand& command, const std::vector<std::string>& args)
{
    if (HandleHelp(command, args))
        return kExitOk;
    TArgs parsed;
    std::string error;
    if (!ParseArgs(args, command.args, parsed, error))
        return UsageError(command, error);
    return command.run(parsed);
}
