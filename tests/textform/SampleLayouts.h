#pragma once

// Layouts for the text form's tests, and for the commands' that run it.

#include "Btn8Ctrl.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

// A true-colour picture whose pixels tell their place.
inline std::unique_ptr<CImageBuffer> SamplePicture(int32_t width, int32_t height, uint8_t blue)
{
    auto image = std::make_unique<CImageBuffer>();
    image->Data().Create(width, height, 24);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            image->Data().SetColor(x, y, {static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 5), blue, 0});
    return image;
}

// A screenful of noise, which no PNG can make smaller: three of them are
// more than a template holds.
inline std::unique_ptr<CImageBuffer> NoisePicture()
{
    auto image = std::make_unique<CImageBuffer>();
    image->Data().Create(320, 240, 24);
    uint32_t state = 1;
    for (int32_t y = 0; y < 240; ++y)
        for (int32_t x = 0; x < 320; ++x)
        {
            state = state * 1664525u + 1013904223u;
            image->Data().SetColor(x, y,
                                   {static_cast<uint8_t>(state >> 24), static_cast<uint8_t>(state >> 16),
                                    static_cast<uint8_t>(state >> 8), 0});
        }
    return image;
}

// A template file: the magic number, then the layout's byte image.
inline std::vector<uint8_t> TemplateBytes(const std::vector<uint8_t>& image)
{
    std::vector<uint8_t> file = {0xD5, 0xCA, 0xAD, 0xAB};
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// Every kind of record with values in every field, as the editor makes them.
inline TLayout EveryRecord()
{
    TLayout layout;
    layout.controlName = u"Caf\u00e9 \u4e2d";
    layout.sleepTimeout = 300;
    layout.pinOnWakeup = 1;
    layout.timeoutPin = u"1234";
    layout.securityPin = u"9876";
    layout.audibleFeedback = 0;
    layout.manualBrightness = 55;
    layout.autoBrightness = 1;
    layout.images.AddImage(u"Wall plate", SamplePicture(100, 60, 40));
    layout.images.AddImage(u"Logo", SamplePicture(32, 16, 200));
    layout.images.AddImage(u"Empty", nullptr);

    auto page = std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId());
    page->face = {kFaceColour, kColourRadial, 0, 0x00112233, 0x00445566};
    auto button = std::make_unique<TUserButton>();
    button->left = 40;
    button->top = 50;
    button->width = 60;
    button->height = 30;
    button->upFace = {kFaceImage, 10000};
    button->downFace = {kFaceButton, 16};
    button->selectorId = 3;
    button->toggle = true;
    button->downText = MakeTextField(u"VOL UP");
    button->upText = MakeTextField(u"VOL STOP \u00e9");
    page->AppendObject(std::move(button));
    auto image = std::make_unique<TUserImage>();
    image->face = {kFaceImage, 10001};
    image->width = 32;
    image->height = 16;
    page->AppendObject(std::move(image));
    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->targetPage = TUserHotspot::kReturnToPrevious;
    hotspot->left = 300;
    page->AppendObject(std::move(hotspot));
    auto level = std::make_unique<TUserLevel>();
    level->controlId = 11;
    level->left = 200;
    level->height = 76;
    page->AppendObject(std::move(level));
    layout.defaultPage = page->id;
    layout.pages.InsertPage(std::move(page));

    // A new eight-button page keeps -1 until the file is loaded again.
    auto eight = std::make_unique<CBtn8Ctrl>(u"Zones");
    eight->names[0] = MakeTextField(u"Bar");
    eight->texts[7] = MakeTextField(u"ZONE 8");
    layout.pages.InsertPage(std::move(eight));
    layout.eventDescriptions[0] = MakeTextField(u"All off");
    layout.eventTexts[23] = MakeTextField(std::u16string(79, u't'));
    return layout;
}

// What a damaged or foreign file that still loads may hold: texts no string
// carries, values no dialog makes, an object of a type we do not know, and a
// picture larger than the screen. Its texts are read in Windows-1252.
inline TLayout OddValues()
{
    TLayout layout;
    std::u16string lone = u"X";
    lone.push_back(static_cast<char16_t>(0xD800));
    layout.controlName = lone;
    layout.sleepTimeout = INT32_MIN;
    layout.pinOnWakeup = -3;
    layout.audibleFeedback = 5;
    layout.defaultPage = INT32_MAX;
    layout.manualBrightness = static_cast<int8_t>(200);
    layout.autoBrightness = 255;
    layout.images.AddImage(u"Huge", SamplePicture(400, 300, 7));

    auto page = std::make_unique<TUserPage>(lone, layout.pages.NextPageId());
    page->face = {99, -7, 0, 0xFFFFFFFF, 0xFF000000};
    auto button = std::make_unique<TUserButton>();
    button->reserved = 77;
    button->buttonReserved = 12;
    button->left = -5;
    button->downText = MakeTextField(u"Hello");
    WideToTextField(u"Hi", button->downText); // "Hi", a zero, then "lo" left behind
    button->upText.fill('U');                 // no closing zero at all
    page->AppendObject(std::move(button));
    auto unknown = MakeUserObject(9);
    unknown->left = 1;
    unknown->top = 2;
    unknown->width = 3;
    unknown->height = 4;
    unknown->reserved = -1;
    page->AppendObject(std::move(unknown));
    layout.pages.InsertPage(std::move(page));
    layout.eventTexts[0] = {'A', 0x81, 'B'}; // 0x81 means nothing in Windows-1252
    return layout;
}
