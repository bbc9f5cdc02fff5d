#pragma once

#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <memory>

// A page with everything the canvas draws: a radial gradient background, ten
// gradient buttons, ten button-face buttons, ten pictures with alpha, six
// sliders (three of them horizontal) and six hot spots. Returns the page,
// added to the layout; selected receives one of its buttons.
inline TUserPage* MakeBusyPage(TLayout& layout, TUserObject** selected)
{
    auto picture = std::make_unique<CImageBuffer>();
    TImageData& d = picture->Data();
    d.Create(48, 32, 24);
    d.alpha.assign(48 * 32, 0);
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 48; ++x)
        {
            uint8_t* px = d.Row(y) + 3 * x;
            px[0] = static_cast<uint8_t>(x * 5);
            px[1] = static_cast<uint8_t>(y * 8);
            px[2] = 200;
            // A soft disc: opaque in the middle, fading out at the edges.
            const int dx = x - 24, dy = y - 16;
            const int r2 = dx * dx + dy * dy * 2;
            d.alpha[static_cast<size_t>(y) * 48 + x] = static_cast<uint8_t>(r2 >= 576 ? 0 : 255 - r2 * 255 / 576);
        }
    const int32_t pictureId = layout.images.AddImage(u"Disc", std::move(picture))->id;

    auto page = std::make_unique<TUserPage>(u"Busy", layout.pages.NextPageId());
    page->face.type = kFaceColour;
    page->face.param = kColourRadial;
    page->face.colour1 = 0x00401000;
    page->face.colour2 = 0x00F0C080;

    const auto place = [](TUserObject& o, int32_t left, int32_t top, int32_t w, int32_t h)
    {
        o.left = left;
        o.top = top;
        o.width = w;
        o.height = h;
    };
    for (int i = 0; i < 10; ++i)
    {
        auto b = std::make_unique<TUserButton>();
        place(*b, 4 + (i % 5) * 62, 4 + (i / 5) * 30, 58, 26);
        b->upFace.type = kFaceColour;
        b->upFace.param = kColourLeftToRight + i % 3;
        b->upFace.colour1 = 0x00202020 + static_cast<uint32_t>(i) * 0x00100810;
        b->upFace.colour2 = 0x00FFE0C0;
        page->AppendObject(std::move(b));
    }
    for (int i = 0; i < 10; ++i)
    {
        auto b = std::make_unique<TUserButton>();
        place(*b, 4 + (i % 5) * 62, 66 + (i / 5) * 34, 58, 30);
        b->upFace.type = kFaceButton;
        b->upFace.param = i % 2 == 0 ? 4 : 16;
        page->AppendObject(std::move(b));
    }
    for (int i = 0; i < 10; ++i)
    {
        auto im = std::make_unique<TUserImage>();
        place(*im, 2 + i * 31, 136, 48, 32);
        im->face.type = kFaceImage;
        im->face.param = pictureId;
        page->AppendObject(std::move(im));
    }
    for (int i = 0; i < 3; ++i)
    {
        auto v = std::make_unique<TUserLevel>();
        place(*v, 180 + i * 46, 100, 45, 130);
        page->AppendObject(std::move(v));
        auto h = std::make_unique<TUserLevel>();
        place(*h, 4, 172 + i * 22, 130, 45);
        page->AppendObject(std::move(h));
    }
    for (int i = 0; i < 6; ++i)
    {
        auto s = std::make_unique<TUserHotspot>();
        place(*s, 140 + (i % 3) * 60, 172 + (i / 3) * 34, 55, 30);
        page->AppendObject(std::move(s));
    }
    *selected = page->objects[12].get();
    return static_cast<TUserPage*>(layout.pages.InsertPage(std::move(page)));
}
