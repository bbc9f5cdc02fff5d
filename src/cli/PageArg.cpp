#include "PageArg.h"

#include "ListItem.h"
#include "PageList.h"
#include "TextField.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

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
