// Arbitrary bytes as a user page file imported over a page: refused files
// change nothing, accepted ones leave every reference pointing somewhere.
#include "ImageLibrary.h"
#include "Layout.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TLayout layout;
    TUserPage page(u"before", 10000);
    const size_t pictures = layout.images.Size();
    if (!ImportUserPageBytes(layout, page, data, size).ok)
    {
        if (page.name != u"before" || !page.objects.empty() || layout.images.Size() != pictures)
            std::abort();
        return 0;
    }
    StoreUserPage(layout, page);
    return 0;
}
