#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "PageVisitor.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <utility>

namespace
{

int Run(const TArgs& args);

const TCommand kCommand = {
    "export-page",
    "export-page IN.qel PAGE -o OUT.qup",
    "export a user page with the pictures it uses",
    "Writes the user page PAGE of IN.qel as a user page file, followed by the\n"
    "added pictures the page uses. PAGE is a position in the page list counted\n"
    "from 1, a page id (10000 or more), or a page name.\n\n"
    "  -o OUT.qup   the file to write",
    {{ValueOption("-o", true)}, 2, 2, "export-page takes a template, a page and -o OUT.qup"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    const std::string* out = parsed.Value("-o");
    const std::string& in = parsed.positional[0];

    TLayout layout;
    if (TFileResult loaded = LoadTemplateFile(layout, in); !loaded)
        return Fail(in, loaded.reason);
    std::string reason;
    TListItem* page = ResolvePageArg(layout.pages, parsed.positional[1], reason);
    if (page == nullptr)
        return Fail(in, reason);
    const TUserPage* userPage = PageAs<TUserPage>(std::as_const(*page));
    if (userPage == nullptr)
        return Fail(in, "page " + parsed.positional[1] + " is an eight-button page; only user pages are exported");
    if (TFileResult written = ExportUserPage(layout, *userPage, *out); !written)
        return Fail(*out, written.reason);
    return kExitOk;
}

} // namespace
