#pragma once

// The layout document near the template limit: 25 added 320 x 240 pictures,
// 40 pages of 20 objects, 60 distinct non-ASCII characters in the names.
// Shared by the benchmarks of the document and of qelctl.
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "UserButton.h"
#include "UserPage.h"

#include <cstdint>
#include <random>
#include <vector>

// A band of four colours at random over a gradient: the PNG of each
// picture is near 10 KB, so the whole layout comes close to 500000 bytes.
inline std::unique_ptr<CImageBuffer> NoisyPicture(std::mt19937& random)
{
    auto image = std::make_unique<CImageBuffer>();
    image->Data().Create(320, 240, 24);
    const TRgbQuad colours[4] = {{10, 20, 30, 0}, {200, 60, 40, 0}, {90, 180, 70, 0}, {250, 250, 250, 0}};
    for (int32_t y = 0; y < 240; ++y)
    {
        for (int32_t x = 0; x < 320; ++x)
        {
            const TRgbQuad gradient{static_cast<uint8_t>(x / 2), static_cast<uint8_t>(y), 90, 0};
            image->Data().SetColor(x, y, y < 70 ? colours[random() % 4] : gradient);
        }
    }
    return image;
}

// Characters 0x4E00 onwards: one new character per page name, 20 more in
// the control name.
inline TLayout& NearLimitLayout()
{
    static TLayout* layout = []
    {
        auto* made = new TLayout();
        std::mt19937 random(7);
        for (int i = 0; i < 25; ++i)
            made->images.AddImage(u"Picture " + std::u16string(1, static_cast<char16_t>(u'A' + i)),
                                  NoisyPicture(random));
        for (int i = 0; i < 20; ++i)
            made->controlName.push_back(static_cast<char16_t>(0x4E00 + i));
        for (int p = 0; p < 40; ++p)
        {
            std::u16string name = u"Page ";
            name.push_back(static_cast<char16_t>(0x4E00 + 20 + p));
            auto page = std::make_unique<TUserPage>(name, made->pages.NextPageId());
            for (int o = 0; o < 20; ++o)
            {
                auto button = std::make_unique<TUserButton>();
                button->left = o * 15;
                button->top = o * 10;
                button->width = 40;
                button->height = 20;
                button->upFace = {kFaceImage, 10000 + o % 25};
                button->downFace = {kFaceColour, kColourLeftToRight, 0, 0x00FF0000, 0x000000FF};
                page->AppendObject(std::move(button));
            }
            made->pages.InsertPage(std::move(page));
        }
        return made;
    }();
    return *layout;
}

// The near-limit layout as a template file holds it (magic, then the byte
// image): what an installer opens.
inline const std::vector<uint8_t>& NearLimitTemplateFile()
{
    static const std::vector<uint8_t> file = []
    {
        std::vector<uint8_t> bytes = {0xD5, 0xCA, 0xAD, 0xAB};
        const std::vector<uint8_t> image = NearLimitLayout().SaveToBytes();
        bytes.insert(bytes.end(), image.begin(), image.end());
        return bytes;
    }();
    return file;
}

// The near-limit layout read from its template file, with its pictures as
// reading leaves them.
inline TLayout LoadedNearLimitLayout()
{
    const std::vector<uint8_t>& file = NearLimitTemplateFile();
    TLayout layout;
    layout.LoadFromBuffer(file.data() + 4, static_cast<int32_t>(file.size() - 4));
    return layout;
}
