#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "UserPage.h"
#include "UserPageFile.h"

namespace
{

int Run(const std::vector<std::string>& args);

const TCommand kCommand = {
    "export-page",
    "export-page IN.qel PAGE -o OUT.qup",
    "export a user page with the pictures it uses",
    "Writes the user page PAGE of IN.qel as a user page file, followed by the\n"
    "added pictures the page uses. PAGE is a position in the page list counted\n"
    "from 1, a page id (10000 or more), or a page name.\n\n"
    "  -o OUT.qup   the file to write",
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const std::vector<std::string>& args)
{
    const TArgs parsed = ParseArgs(args, {"-o"}, {});
    if (!parsed.error.empty())
        return UsageError(kCommand, parsed.error);
    if (parsed.positional.size() != 2)
        return UsageError(kCommand, "export-page takes a template and a page");
    const std::string* out = parsed.Value("-o");
    if (out == nullptr)
        return UsageError(kCommand, "export-page needs -o OUT.qup");
    const std::string& in = parsed.positional[0];

    TLayout layout;
    if (TFileResult loaded = LoadTemplateFile(layout, in); !loaded)
        return Fail(in, loaded.reason);
    std::string reason;
    TListItem* page = ResolvePageArg(layout.pages, parsed.positional[1], reason);
    if (page == nullptr)
        return Fail(in, reason);
    const auto* userPage = dynamic_cast<const TUserPage*>(page);
    if (userPage == nullptr)
        return Fail(in, "page " + parsed.positional[1] + " is an eight-button page; only user pages are exported");
    if (TFileResult written = ExportUserPage(layout, *userPage, *out); !written)
        return Fail(*out, written.reason);
    return kExitOk;
}

} // namespace
