#include "Options.h"

#include <algorithm>
#include <cstdlib>

bool TArgs::Has(const std::string& flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

const std::string* TArgs::Value(const std::string& option) const
{
    const auto it = values.find(option);
    return it == values.end() || it->second.empty() ? nullptr : &it->second.front();
}

std::vector<std::string> TArgs::Values(const std::string& option) const
{
    const auto it = values.find(option);
    return it == values.end() ? std::vector<std::string>() : it->second;
}

namespace
{

const TOption* FindOption(const TArgSpec& spec, const std::string& name)
{
    for (const TOption& option : spec.options)
    {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

} // namespace

bool ParseArgs(const std::vector<std::string>& args, const TArgSpec& spec, TArgs& parsed, std::string& error)
{
    parsed = TArgs();
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-')
        {
            parsed.positional.push_back(a);
            continue;
        }
        if (a == "--")
        {
            optionsEnded = true;
            continue;
        }
        std::string name = a;
        std::string value;
        bool inlineValue = false;
        if (const size_t eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos)
        {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            inlineValue = true;
        }
        // -p is short for --port, as in other serial tools.
        if (name == "-p" && FindOption(spec, "--port") != nullptr)
            name = "--port";
        const TOption* option = FindOption(spec, name);
        if (option == nullptr || (inlineValue && !option->takesValue))
        {
            error = "unknown option " + a;
            return false;
        }
        if (!option->takesValue)
        {
            parsed.flags.push_back(name);
            continue;
        }
        if (!inlineValue)
        {
            if (i + 1 >= args.size())
            {
                error = "option " + name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        std::vector<std::string>& values = parsed.values[name];
        if (!values.empty() && !option->repeatable)
        {
            error = "option " + name + " given twice";
            return false;
        }
        values.push_back(value);
    }
    // A port named once in the environment serves every command that talks to
    // one panel and is given none (not deploy or probe, which take a list).
    const TOption* port = FindOption(spec, "--port");
    if (port != nullptr && !port->repeatable && parsed.Value("--port") == nullptr)
    {
        if (const char* fromEnvironment = std::getenv("QELCTL_PORT");
            fromEnvironment != nullptr && *fromEnvironment != '\0')
            parsed.values["--port"].push_back(fromEnvironment);
    }
    const bool requiredMissing = std::any_of(
        spec.options.begin(), spec.options.end(),
        [&](const TOption& o)
        { return o.required && (o.takesValue ? parsed.Value(o.name) == nullptr : !parsed.Has(o.name)); });
    if (requiredMissing || parsed.positional.size() < spec.minPositional ||
        parsed.positional.size() > spec.maxPositional)
    {
        error = spec.missing;
        return false;
    }
    size_t stdinReads = 0;
    for (size_t i = 0; i < parsed.positional.size(); ++i)
    {
        if (parsed.positional[i] == "-" && static_cast<int>(i) != spec.outputPositional)
            ++stdinReads;
    }
    if (stdinReads > 1)
    {
        error = "standard input (-) can be read only once";
        return false;
    }
    return true;
}
