#include "PageArg.h"

#include "ListItem.h"
#include "PageList.h"
#include "TextField.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

bool TArgs::Has(const std::string& flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

const std::string* TArgs::Value(const std::string& option) const
{
    const auto it = values.find(option);
    return it == values.end() ? nullptr : &it->second;
}

TArgs ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& withValue,
                const std::vector<std::string>& flags)
{
    TArgs out;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-')
        {
            out.positional.push_back(a);
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
        if (std::find(withValue.begin(), withValue.end(), name) != withValue.end())
        {
            if (!inlineValue)
            {
                if (i + 1 >= args.size())
                {
                    out.error = "option " + name + " needs a value";
                    return out;
                }
                value = args[++i];
            }
            if (out.values.count(name) != 0)
            {
                out.error = "option " + name + " given twice";
                return out;
            }
            out.values[name] = value;
        }
        else if (!inlineValue && std::find(flags.begin(), flags.end(), name) != flags.end())
        {
            out.flags.push_back(name);
        }
        else
        {
            out.error = "unknown option " + a;
            return out;
        }
    }
    return out;
}

namespace
{

bool ParseInt(const std::string& text, long long& value)
{
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

bool ParseInt32(const std::string& text, int32_t& value)
{
    long long number = 0;
    if (!ParseInt(text, number) || number < INT32_MIN || number > INT32_MAX)
        return false;
    value = static_cast<int32_t>(number);
    return true;
}

TListItem* ResolvePageArg(TPageList& pages, const std::string& arg, std::string& reason)
{
    long long number = 0;
    if (ParseInt(arg, number))
    {
        if (number >= 10000)
        {
            if (TListItem* page = pages.Find(static_cast<int32_t>(std::min<long long>(number, INT32_MAX))))
                return page;
            reason = "no page with id " + arg;
            return nullptr;
        }
        if (number >= 1 && number <= static_cast<long long>(pages.Size()))
            return pages.At(static_cast<size_t>(number - 1));
        // A number that is no position may still be a page's name.
    }
    const std::u16string name = Utf8ToWide(arg);
    for (const auto& page : pages)
    {
        if (page->name == name)
            return page.get();
    }
    reason = "no page " + arg + " (give a position from 1, a page id, or a page name)";
    return nullptr;
}
