#pragma once

#include <cstdint>
#include <string>

class TPageList;
class TListItem;

// A whole decimal int32, nothing else.
bool ParseInt32(const std::string& text, int32_t& value);

// Finds the page a PAGE argument names: a 1-based position in the list, a
// page id (10000 or more), or else a page name (UTF-8). Null when none does;
// then reason says why.
TListItem* ResolvePageArg(TPageList& pages, const std::string& arg, std::string& reason);
