#include "ObjectClipboard.h"

#include "Layout.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <set>

std::vector<uint8_t> CopyObjects(const TLayout& layout, const std::vector<const TUserObject*>& objects)
{
    TUserPage page;
    for (const TUserObject* object : objects)
        page.AppendObject(object->Clone());
    return StoreUserPage(layout, page);
}

TFileResult PasteObjects(TLayout& layout, const uint8_t* data, size_t size,
                         std::vector<std::unique_ptr<TUserObject>>& objects, std::vector<TImageEntry*>& added)
{
    std::set<const TImageEntry*> before;
    for (const auto& entry : layout.images)
        before.insert(entry.get());
    TUserPage page;
    if (TFileResult read = ImportUserPageBytes(layout, page, data, size); !read)
        return read;
    objects = std::move(page.objects);
    added.clear();
    for (const auto& entry : layout.images)
        if (!before.contains(entry.get()))
            added.push_back(entry.get());
    return TFileResult::Success();
}
