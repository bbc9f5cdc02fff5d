#include "PageMerge.h"

#include "ImageEntry.h"
#include "ImageLibrary.h"
#include "ObjectVisitor.h"
#include "UserButton.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

namespace
{

constexpr int32_t kFirstAddedId = 10000;

void RepointFace(TUserFace& face, int32_t from, int32_t to)
{
    if (face.mark == 0 && face.type == kFaceImage && face.param == from)
    {
        face.param = to;
        face.mark = 1;
    }
}

} // namespace

void ClearImportMarks(TUserPage& page)
{
    page.face.mark = 0;
    const auto clear = Overloaded{
        [](TUserButton& button)
        {
            button.upFace.mark = 0;
            button.downFace.mark = 0;
        },
        [](TUserImage& image) { image.face.mark = 0; },
        [](TUserLevel& level) { level.mark = 0; },
        [](TUserHotspot&) {},
        [](TUserObject&) {},
    };
    for (const auto& object : page.objects)
        VisitObject(*object, clear);
}

int32_t MergeImportedPicture(TImageLibrary& library, TUserPage& page, std::unique_ptr<TImageEntry> entry)
{
    const int32_t old = entry->id;
    entry->id = kFirstAddedId;
    const TImageEntry* match = nullptr;
    for (const auto& present : library)
    {
        if (present->id >= kFirstAddedId && present->guid == entry->guid)
            match = present.get();  // the last match walked wins
        else if (present->id >= entry->id && present->id < INT32_MAX)  // a loaded INT32_MAX has no successor
            entry->id = present->id + 1;
    }
    const int32_t target = match != nullptr ? match->id : entry->id;

    RepointFace(page.face, old, target);
    const auto repoint = Overloaded{
        [&](TUserButton& button)
        {
            RepointFace(button.upFace, old, target);
            RepointFace(button.downFace, old, target);
        },
        [&](TUserImage& image) { RepointFace(image.face, old, target); },
        [&](TUserLevel& level)
        {
            if (level.mark == 0 && level.sliderImageId == old)
            {
                level.sliderImageId = target;
                level.mark = 1;
            }
        },
        [](TUserHotspot&) {},
        [](TUserObject&) {},
    };
    for (const auto& object : page.objects)
        VisitObject(*object, repoint);

    if (match == nullptr)
        library.InsertHead(std::move(entry));
    return target;
}
