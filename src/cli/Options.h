#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// One option a command takes: "-o" with a value, or a flag such as "--raw".
struct TOption
{
    const char* name;
    bool takesValue = false;
    bool required = false;
    bool repeatable = false;
};

inline TOption ValueOption(const char* name, bool required = false)
{
    return {name, true, required, false};
}
inline TOption RepeatedOption(const char* name)
{
    return {name, true, false, true};
}
inline TOption FlagOption(const char* name)
{
    return {name, false, false, false};
}

// What a command takes besides its options: how many positional arguments,
// and the sentence said when they (or a required option) are missing.
struct TArgSpec
{
    std::vector<TOption> options;
    size_t minPositional = 0;
    size_t maxPositional = 0;
    const char* missing = "";
    // The positional that names an output file, if one does: every other
    // "-" reads standard input, which only one may.
    int outputPositional = -1;
};

// The arguments of one command, parsed against its TArgSpec.
struct TArgs
{
    std::vector<std::string> positional;
    std::map<std::string, std::vector<std::string>> values;
    std::vector<std::string> flags;

    bool Has(const std::string& flag) const;
    // The option's value (the only one for an option that is not repeatable), or null.
    const std::string* Value(const std::string& option) const;
    // Every value of a repeatable option, in the order given.
    std::vector<std::string> Values(const std::string& option) const;
};

// Splits args into positionals, values and flags. "--name=value" and
// "--name value" both work; "--" ends the options. False with error set on
// an unknown option, a missing or repeated value, a missing required option
// or the wrong number of positionals.
bool ParseArgs(const std::vector<std::string>& args, const TArgSpec& spec, TArgs& parsed, std::string& error);
