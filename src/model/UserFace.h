#pragma once

#include <cstdint>

class CDataStore;

enum EFaceType : int32_t
{
    kFaceBlank = 0,
    kFaceButton = 1, // param: built-in picture 4 or 16
    kFaceImage = 2,  // param: image library id
    kFaceColour = 7, // param: an EColourMode
};

enum EColourMode : int32_t
{
    kColourSingle = 1,
    kColourLeftToRight = 2,
    kColourTopToBottom = 3,
    kColourRadial = 4,
};

// How a page background, a button or an image object looks.
struct TUserFace
{
    static constexpr int32_t kVersion = 1;

    void Serialize(CDataStore& store);

    bool operator==(const TUserFace&) const = default;

    int32_t type = kFaceBlank;
    int32_t param = 0;
    int32_t mark = 0; // only while a user page file is imported; never stored
    uint32_t colour1 = 0;
    uint32_t colour2 = 0;
};
