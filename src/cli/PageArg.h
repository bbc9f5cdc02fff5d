#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class TPageList;
class TListItem;

// The arguments of one command split into positionals and options. Options
// named in withValue take the next argument ("-o OUT"); the others are flags.
struct TArgs
{
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::vector<std::string> flags;
    std::string error;  // set on an unknown option or a missing value

    bool Has(const std::string& flag) const;
    const std::string* Value(const std::string& option) const;
};
TArgs ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& withValue,
                const std::vector<std::string>& flags);

// A whole decimal int32, nothing else.
bool ParseInt32(const std::string& text, int32_t& value);

// Finds the page a PAGE argument names: a 1-based position in the list, a
// page id (10000 or more), or else a page name (UTF-8). Null when none does;
// then reason says why.
TListItem* ResolvePageArg(TPageList& pages, const std::string& arg, std::string& reason);
