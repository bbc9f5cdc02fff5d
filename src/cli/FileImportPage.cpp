#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "StdStreams.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <cstdio>

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "import-page",
    "import-page IN.qel FILE.qup [-o OUT.qel]",
    "add a user page from a user page file, merging its pictures",
    "Adds a new user page, made from FILE.qup, at the end of the page list of\n"
    "IN.qel. The file's pictures join the image library: one the library holds\n"
    "already (the same GUID) is not added again, and the page's references are\n"
    "re-pointed to the ids the pictures have in this library. The page keeps the\n"
    "id stored in the file unless another page has it; then it gets a new one.\n"
    "Prints the new page's position and id. Either file may be - for standard\n"
    "input (not both).\n\n"
    "  -o OUT.qel   write the result there instead of back to IN.qel (needed when\n"
    "               IN.qel is -)",
    {{ValueOption("-o")}, 2, 2, "import-page takes a template and a user page file"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    const std::string& in = parsed.positional[0];
    const std::string& file = parsed.positional[1];
    std::string out;
    if (int status = kExitOk; !TemplateOutput(kCommand, parsed, in, true, out, status))
        return status;

    TLayout layout;
    if (TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(InputName(in), loaded.reason);
    auto page = std::make_unique<TUserPage>(u"User Page", layout.pages.NextPageId());
    std::vector<uint8_t> bytes;
    if (TFileResult read = ReadInput(file, kUserPageFileLimit, bytes); !read)
        return Fail(InputName(file), read.reason);
    if (TFileResult imported = ImportUserPageBytes(layout, *page, bytes.data(), bytes.size()); !imported)
        return Fail(InputName(file), imported.reason);
    page->id = ImportedPageId(layout.pages, page->id, nullptr, layout.pages.NextPageId());
    const int32_t id = page->id;
    layout.pages.InsertPage(std::move(page), nullptr);
    if (TFileResult saved = SaveTemplateFile(layout, out); !saved)
        return Fail(out, saved.reason);
    std::printf("page %zu id %d\n", layout.pages.Size(), id);
    return kExitOk;
}

} // namespace
