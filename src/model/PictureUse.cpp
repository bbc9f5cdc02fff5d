#include "PictureUse.h"

#include "Layout.h"
#include "ObjectVisitor.h"
#include "PageVisitor.h"
#include "ReportText.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <cstdio>
#include <utility>

namespace
{

bool Names(const TUserFace& face, int32_t pictureId)
{
    return (face.type == kFaceImage || face.type == kFaceButton) && face.param == pictureId;
}

const char* RoleWords(EPictureRole role)
{
    switch (role)
    {
    case EPictureRole::Background:
        return "background";
    case EPictureRole::Face:
        return "face";
    case EPictureRole::UpFace:
        return "up face";
    case EPictureRole::DownFace:
        return "down face";
    case EPictureRole::Slider:
        return "picture";
    }
    return "";
}

} // namespace

std::vector<TPictureUse> FindPictureUses(const TUserPage& page, int32_t pictureId, int32_t pageIndex)
{
    std::vector<TPictureUse> uses;
    const auto add = [&](int32_t objectIndex, int32_t objectType, EPictureRole role) {
        uses.push_back({pageIndex, page.id, page.name, objectIndex, objectType, role});
    };
    if (Names(page.face, pictureId))
        add(-1, 0, EPictureRole::Background);
    for (size_t i = 0; i < page.objects.size(); ++i)
    {
        const TUserObject& object = *page.objects[i];
        const auto index = static_cast<int32_t>(i);
        const auto roles = Overloaded{
            [&](const TUserButton& button)
            {
                if (Names(button.upFace, pictureId))
                    add(index, object.type, EPictureRole::UpFace);
                if (Names(button.downFace, pictureId))
                    add(index, object.type, EPictureRole::DownFace);
            },
            [&](const TUserImage& image)
            {
                if (Names(image.face, pictureId))
                    add(index, object.type, EPictureRole::Face);
            },
            [&](const TUserLevel& level)
            {
                if (level.sliderImageId == pictureId)
                    add(index, object.type, EPictureRole::Slider);
            },
            [](const TUserHotspot&) {},
            [](const TUserObject&) {},
        };
        VisitObject(object, roles);
    }
    return uses;
}

std::vector<TPictureUse> FindPictureUses(const TLayout& layout, int32_t pictureId)
{
    std::vector<TPictureUse> uses;
    int32_t index = 0;
    for (const auto& item : layout.pages)
    {
        if (const TUserPage* page = PageAs<TUserPage>(std::as_const(*item)))
        {
            std::vector<TPictureUse> onPage = FindPictureUses(*page, pictureId, index);
            uses.insert(uses.end(), onPage.begin(), onPage.end());
        }
        ++index;
    }
    return uses;
}

std::string DescribePictureUse(const TPictureUse& use)
{
    std::string text = "page \"" + PrintableName(use.pageName) + "\": ";
    if (use.objectIndex >= 0)
        text += std::string(ObjectKindName(use.objectType)) + " " + std::to_string(use.objectIndex + 1) + " ";
    return text + RoleWords(use.role);
}

std::string DescribePictureInUse(int32_t pictureId, const std::vector<TPictureUse>& uses)
{
    if (uses.empty())
        return {};
    std::string reason =
        "picture " + std::to_string(pictureId) + " is used by " + DescribePictureUse(uses.front());
    if (uses.size() > 1)
        reason +=
            " and " + std::to_string(uses.size() - 1) + (uses.size() == 2 ? " more place" : " more places");
    return reason;
}
