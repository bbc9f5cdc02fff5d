#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "PageVisitor.h"
#include "StdStreams.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <utility>

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "export-page",
    "export-page IN.qel PAGE -o OUT.qup",
    "export a user page with the pictures it uses",
    "Writes the user page PAGE of IN.qel as a user page file, followed by the\n"
    "added pictures the page uses. PAGE is a position in the page list counted\n"
    "from 1, a page id (10000 or more), or a page name.\n\n"
    "IN.qel - reads the template from standard input.\n\n"
    "  -o OUT.qup   the file to write; -o - writes standard output, which must not\n"
    "               be a terminal",
    {{ValueOption("-o", true)}, 2, 2, "export-page takes a template, a page and -o OUT.qup"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    const std::string* out = parsed.Value("-o");
    const std::string& in = parsed.positional[0];

    TLayout layout;
    if (TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(InputName(in), loaded.reason);
    std::string reason;
    TListItem* page = ResolvePageArg(layout.pages, parsed.positional[1], reason);
    if (page == nullptr)
        return Fail(InputName(in), reason);
    const TUserPage* userPage = PageAs<TUserPage>(std::as_const(*page));
    if (userPage == nullptr)
        return Fail(InputName(in), "page " + parsed.positional[1] +
                                       " is an eight-button page; only user pages are exported");
    const std::vector<uint8_t> bytes = StoreUserPage(layout, *userPage);
    if (TFileResult fits = CheckUserPageSize(bytes.size()); !fits)
        return Fail(OutputName(*out), fits.reason);
    return WriteOutput(*out, bytes, EOutput::Binary);
}

} // namespace
