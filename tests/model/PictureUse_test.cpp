#include "Btn8Ctrl.h"
#include "Layout.h"
#include "PictureUse.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <gtest/gtest.h>

namespace
{

constexpr int32_t kPicture = 10003;

std::vector<std::string> Described(const std::vector<TPictureUse>& uses)
{
    std::vector<std::string> lines;
    for (const TPictureUse& use : uses)
        lines.push_back(DescribePictureUse(use));
    return lines;
}

// Two pages around an eight-button page; the picture shows in every place a
// picture can be named, and other pictures and colour faces stand beside it.
TEST(PictureUse, FindsEveryPlaceInOrder)
{
    TLayout layout;
    auto lobby = std::make_unique<TUserPage>(u"Lobby", 10000);
    lobby->face = {kFaceImage, kPicture};
    lobby->AppendObject(std::make_unique<TUserHotspot>());
    auto button = std::make_unique<TUserButton>();
    button->upFace = {kFaceImage, kPicture};
    button->downFace = {kFaceColour, kPicture, 0, 0, 0}; // a colour mode, not a picture
    lobby->AppendObject(std::move(button));
    auto pressed = std::make_unique<TUserButton>();
    pressed->downFace = {kFaceButton, kPicture};
    lobby->AppendObject(std::move(pressed));
    layout.pages.InsertPage(std::move(lobby));
    layout.pages.InsertPage(std::make_unique<CBtn8Ctrl>(u"Eight"));
    auto bar = std::make_unique<TUserPage>(u"Bar\nroom", 10001);
    bar->face = {kFaceImage, 10004};
    auto image = std::make_unique<TUserImage>();
    image->face = {kFaceImage, kPicture};
    bar->AppendObject(std::move(image));
    auto slider = std::make_unique<TUserLevel>();
    slider->sliderImageId = kPicture;
    bar->AppendObject(std::move(slider));
    bar->AppendObject(std::make_unique<TUserLevel>());
    layout.pages.InsertPage(std::move(bar));

    const std::vector<TPictureUse> uses = FindPictureUses(layout, kPicture);
    EXPECT_EQ(Described(uses), (std::vector<std::string>{
                                   "page \"Lobby\": background",
                                   "page \"Lobby\": button 2 up face",
                                   "page \"Lobby\": button 3 down face",
                                   "page \"Bar\\x0Aroom\": image 1 face",
                                   "page \"Bar\\x0Aroom\": slider 2 picture",
                               }));
    ASSERT_EQ(uses.size(), 5u);
    EXPECT_EQ(uses[1].pageIndex, 0);
    EXPECT_EQ(uses[1].objectIndex, 1);
    EXPECT_EQ(uses[1].role, EPictureRole::UpFace);
    EXPECT_EQ(uses[4].pageIndex, 2);
    EXPECT_EQ(uses[4].pageId, 10001);
    EXPECT_EQ(uses[4].objectType, kObjectLevel);

    // The built-in slider picture is used by the new slider; a picture no
    // page names is used nowhere.
    EXPECT_EQ(Described(FindPictureUses(layout, TUserLevel::kDefaultSliderImage)),
              (std::vector<std::string>{"page \"Bar\\x0Aroom\": slider 3 picture"}));
    EXPECT_TRUE(FindPictureUses(layout, 10005).empty());
    EXPECT_EQ(FindPictureUses(layout, 10004).size(), 1u);

    // A page not in the list yet is searched on its own.
    TUserPage draft(u"Draft");
    draft.face = {kFaceImage, kPicture};
    EXPECT_EQ(Described(FindPictureUses(draft, kPicture, 3)),
              (std::vector<std::string>{"page \"Draft\": background"}));
}

} // namespace
