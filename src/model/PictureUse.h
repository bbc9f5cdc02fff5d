#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TLayout;
class TUserPage;

// Which part of a page shows a picture.
enum class EPictureRole
{
    Background, // the page's face
    Face,       // an image object's face
    UpFace,     // a button's up face
    DownFace,   // a button's down face
    Slider,     // a level slider's picture
};

// One place where a layout shows a picture.
struct TPictureUse
{
    int32_t pageIndex = -1; // place in the page list
    int32_t pageId = -1;
    std::u16string pageName;
    int32_t objectIndex = -1; // place in the page's drawing order; -1 for the page's face
    int32_t objectType = 0;
    EPictureRole role = EPictureRole::Background;
};

// Every place that names the picture, page by page in list order and on
// each page its face first, then its objects from the back. A face names a
// picture when it is an image or a button face with that id.
std::vector<TPictureUse> FindPictureUses(const TLayout& layout, int32_t pictureId);
// The same on one page, which need not be in the list yet (a page being
// designed); the uses carry the given place.
std::vector<TPictureUse> FindPictureUses(const TUserPage& page, int32_t pictureId, int32_t pageIndex = -1);

// One line for a person, objects counted from 1 from the back as the other
// commands count them: `page "Lobby": button 2 up face`.
std::string DescribePictureUse(const TPictureUse& use);

// Why a picture cannot leave the library, naming the first place that shows
// it and counting the others: `picture 10003 is used by page "Lobby":
// background and 1 more place`. Empty when there are no uses.
std::string DescribePictureInUse(int32_t pictureId, const std::vector<TPictureUse>& uses);
