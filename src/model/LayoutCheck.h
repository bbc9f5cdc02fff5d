#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TLayout;
class TListItem;

// What checking a layout before it goes to the panel finds: things the panel
// cannot do (errors) and things that are probably not meant (warnings).
enum class ECheckSeverity
{
    Error,
    Warning,
};

struct TCheckFinding
{
    ECheckSeverity severity = ECheckSeverity::Warning;
    std::string code;       // a short fixed name ("missing-target"), for scripts
    int32_t pageIndex = -1; // place in the page list; -1 for the layout as a whole
    int32_t pageId = -1;
    std::u16string pageName;
    int32_t objectIndex = -1; // place in the page's drawing order; -1 for the page itself
    int32_t x = 0;            // the object's position, when there is one
    int32_t y = 0;
    std::string message; // what is wrong, in words (UTF-8), without the page
};

// Every finding, the layout's own first, then page by page and object by
// object in order. Measures the layout's stored size, which rebuilds its
// glyph table. A page being designed that is not in the page list yet (a new
// page before its dialog saves it) may be given as unsaved: it is checked as
// though it stood at the end of the list.
std::vector<TCheckFinding> CheckLayout(TLayout& layout, TListItem* unsaved = nullptr);

// One line for a person: `page "Lobby": hot spot at 150,100 leads to ...`.
std::string DescribeFinding(const TCheckFinding& finding);
bool HasErrors(const std::vector<TCheckFinding>& findings);
