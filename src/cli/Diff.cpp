#include "Command.h"
#include "LayoutDiff.h"
#include "StdStreams.h"

#include "Layout.h"
#include "LayoutFile.h"

#include <cstdio>

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "diff",
    "diff A.qel B.qel",
    "say in words what changed between two templates",
    "Prints what changed from the template A.qel to B.qel, one change a line:\n"
    "settings, then page by page and object by object (pages are matched by id,\n"
    "objects by their place on the page from the back, counted from 1, as\n"
    "`render --select` counts them), then pictures by id and the events:\n\n"
    "  page \"Lobby\": button 2 moved from 40,50 to 80,70\n"
    "  picture 10003 replaced\n\n"
    "Either file may be - for standard input (not both).\n\n"
    "Exit status, as diff(1) has it: 0 when the layouts are the same, 1 when they\n"
    "differ, 2 when a file cannot be read (or the changes cannot be written).",
    {{}, 2, 2, "diff takes two templates"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    TLayout layouts[2];
    for (size_t i = 0; i < 2; ++i)
    {
        // 1 means "they differ": a file that cannot be compared is trouble, 2.
        if (const TFileResult loaded = LoadTemplateInput(layouts[i], parsed.positional[i]); !loaded)
        {
            Fail(InputName(parsed.positional[i]), loaded.reason);
            return kExitUsage;
        }
    }
    const std::vector<std::string> changes = DiffLayouts(layouts[0], layouts[1]);
    for (const std::string& line : changes)
        std::printf("%s\n", line.c_str());
    // Changes that did not all go out are trouble too, not "they differ".
    if (const int flushed = FlushStandardOutput(); flushed != kExitOk)
        return flushed == kExitClosedPipe ? flushed : kExitUsage;
    return changes.empty() ? kExitOk : kExitFailure;
}

} // namespace
