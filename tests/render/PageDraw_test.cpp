#include "PageDraw.h"

#include "ImageBuffer.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace
{

constexpr TColor kRed = Rgb(255, 0, 0);
constexpr TColor kGreen = Rgb(0, 255, 0);
constexpr TColor kBlue = Rgb(0, 0, 255);
constexpr TColor kYellow = Rgb(255, 255, 0);
constexpr TColor kCyan = Rgb(0, 255, 255);
constexpr TColor kMagenta = Rgb(255, 0, 255);
constexpr TColor kWhite = Rgb(255, 255, 255);
constexpr TColor kGrey = Rgb(128, 128, 128);
constexpr TColor kOrange = Rgb(255, 128, 0);
constexpr TColor kNavy = Rgb(0, 0, 128);
constexpr TColor kOlive = Rgb(128, 128, 0);

// Pictures by id for the drawing code to find.
struct TPictures
{
    std::map<int32_t, CImageBuffer> byId;

    TImageFinder Finder()
    {
        return [this](int32_t id) -> CImageBuffer*
        {
            auto it = byId.find(id);
            return it == byId.end() ? nullptr : &it->second;
        };
    }
};

// A true-colour picture whose pixel colours come from a function of the
// on-screen position.
template <typename F> CImageBuffer MakePicture(int32_t w, int32_t h, F colourAt)
{
    CImageBuffer picture;
    TImageData& d = picture.Data();
    EXPECT_TRUE(d.Create(w, h, 24));
    for (int32_t y = 0; y < h; ++y)
    {
        uint8_t* row = d.Row(h - 1 - y);
        for (int32_t x = 0; x < w; ++x)
        {
            const TColor c = colourAt(x, y);
            row[3 * x] = BlueOf(c);
            row[3 * x + 1] = GreenOf(c);
            row[3 * x + 2] = RedOf(c);
        }
    }
    return picture;
}

// The 31 x 31 button composite with one colour per slice.
CImageBuffer NineSlice()
{
    return MakePicture(31, 31,
                       [](int32_t x, int32_t y)
                       {
                           const int col = x < 15 ? 0 : x == 15 ? 1 : 2;
                           const int row = y < 15 ? 0 : y == 15 ? 1 : 2;
                           static const TColor slices[3][3] = {{kRed, kCyan, kGreen},
                                                               {kWhite, kOrange, kGrey},
                                                               {kBlue, kMagenta, kYellow}};
                           return slices[row][col];
                       });
}

// The 45 x 76 slider composite: top cap A, upper track B, knob K, lower
// track C, bottom cap D.
constexpr TColor kCapTop = kRed, kTrackUp = kGreen, kKnob = kWhite, kTrackDown = kBlue, kCapBottom = kYellow;
CImageBuffer SliderComposite()
{
    return MakePicture(45, 76,
                       [](int32_t, int32_t y)
                       {
                           if (y < 15)
                               return kCapTop;
                           if (y == 15)
                               return kTrackUp;
                           if (y < 60)
                               return kKnob;
                           if (y == 60)
                               return kTrackDown;
                           return kCapBottom;
                       });
}

TUserFace ColourFace(int32_t mode, uint32_t c1, uint32_t c2 = 0)
{
    TUserFace face;
    face.type = kFaceColour;
    face.param = mode;
    face.colour1 = c1;
    face.colour2 = c2;
    return face;
}

void Fill(CRaster& dc, TColor c) { dc.FillRect(TRect{0, 0, dc.Width(), dc.Height()}, c); }

bool AllPixels(const CRaster& dc, TColor c)
{
    for (int32_t y = 0; y < dc.Height(); ++y)
        for (int32_t x = 0; x < dc.Width(); ++x)
            if (dc.GetPixel(x, y) != c)
                return false;
    return true;
}

} // namespace

TEST(PageDraw, BlankPageIsAllBlack)
{
    TUserPage page;
    CRaster dc(kPageWidth, kPageHeight);
    PaintPage(page, {}, dc);
    EXPECT_TRUE(AllPixels(dc, 0));
}

TEST(PageDraw, GradientRampIsQuadratic)
{
    CRaster dc(100, 3);
    DrawGradient(dc, kColourLeftToRight, Rgb(0, 0, 0), Rgb(255, 255, 255), TRect{0, 0, 100, 3});
    const std::pair<int32_t, uint8_t> expected[] = {{0, 0}, {1, 0}, {50, 63}, {99, 249}};
    for (const auto& [column, grey] : expected)
        for (int32_t y = 0; y < 3; ++y)
            EXPECT_EQ(dc.GetPixel(column, y), Rgb(grey, grey, grey)) << "column " << column;

    // Top to bottom uses the row; radial the sum of both, over w + h.
    CRaster tall(3, 100);
    DrawGradient(tall, kColourTopToBottom, Rgb(0, 0, 0), Rgb(255, 255, 255), TRect{0, 0, 3, 100});
    EXPECT_EQ(tall.GetPixel(2, 50), Rgb(63, 63, 63));
    CRaster square(50, 50);
    DrawGradient(square, kColourRadial, Rgb(0, 0, 0), Rgb(255, 255, 255), TRect{0, 0, 50, 50});
    EXPECT_EQ(square.GetPixel(20, 30), Rgb(63, 63, 63));
    EXPECT_EQ(square.GetPixel(30, 20), Rgb(63, 63, 63));

    // Channels fall as well as rise, each taken separately.
    CRaster down(100, 1);
    DrawGradient(down, kColourLeftToRight, Rgb(200, 10, 0), Rgb(0, 10, 100), TRect{0, 0, 100, 1});
    EXPECT_EQ(down.GetPixel(50, 0), Rgb(150, 10, 25));
}

TEST(PageDraw, EmptyRectanglesDrawNothing)
{
    for (int32_t mode : {kColourSingle, kColourLeftToRight, kColourTopToBottom, kColourRadial})
        for (const TRect& rect : {TRect{10, 10, 10, 40}, TRect{10, 10, 40, 10}})
        {
            CRaster dc(50, 50);
            Fill(dc, kNavy);
            DrawFace(ColourFace(mode, kRed, kYellow), {}, dc, rect);
            EXPECT_TRUE(AllPixels(dc, kNavy)) << "mode " << mode;
        }
}

TEST(PageDraw, ButtonFaceNineSlice)
{
    TPictures pictures;
    pictures.byId[4] = NineSlice();
    CRaster dc(100, 100);
    DrawButtonFace(4, pictures.Finder(), dc, 10, 20, 40, 40);
    // Corners, edge strips stretched between them, the middle filled.
    const std::tuple<int32_t, int32_t, TColor> expected[] = {
        {20, 10, kRed},     {34, 24, kRed},      {35, 10, kCyan},   {44, 24, kCyan},   {45, 10, kGreen},
        {59, 24, kGreen},   {20, 25, kWhite},    {34, 34, kWhite},  {40, 30, kOrange}, {45, 25, kGrey},
        {20, 35, kBlue},    {35, 49, kMagenta},  {59, 49, kYellow}, {60, 49, 0},       {20, 50, 0},
    };
    for (const auto& [x, y, c] : expected)
        EXPECT_EQ(dc.GetPixel(x, y), c) << x << "," << y;
}

TEST(PageDraw, NarrowButtonFaceHasOverlappingCornersAndNoEdges)
{
    TPictures pictures;
    pictures.byId[16] = NineSlice();
    CRaster dc(60, 60);
    DrawButtonFace(16, pictures.Finder(), dc, 0, 0, 20, 20);
    std::set<TColor> seen;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x)
            seen.insert(dc.GetPixel(x, y));
    // The corner drawn last wins where they overlap; no strip shows.
    EXPECT_EQ(seen, (std::set<TColor>{kRed, kGreen, kBlue, kYellow}));
    EXPECT_EQ(dc.GetPixel(4, 4), kRed);
    EXPECT_EQ(dc.GetPixel(5, 4), kGreen);
    EXPECT_EQ(dc.GetPixel(4, 5), kBlue);
    EXPECT_EQ(dc.GetPixel(5, 5), kYellow);
    EXPECT_EQ(dc.GetPixel(20, 5), 0u);
}

TEST(PageDraw, ImageFaceIsClippedToItsObject)
{
    TPictures pictures;
    pictures.byId[10000] = MakePicture(50, 50, [](int32_t x, int32_t y) { return Rgb(uint8_t(x), uint8_t(y), 7); });
    CRaster dc(80, 80);
    TUserFace face;
    face.type = kFaceImage;
    face.param = 10000;
    DrawFace(face, pictures.Finder(), dc, TRect{10, 20, 40, 50});
    EXPECT_EQ(dc.GetPixel(10, 20), Rgb(0, 0, 7));
    EXPECT_EQ(dc.GetPixel(39, 49), Rgb(29, 29, 7));
    EXPECT_EQ(dc.GetPixel(40, 49), 0u);
    EXPECT_EQ(dc.GetPixel(39, 50), 0u);
    EXPECT_EQ(dc.GetPixel(9, 20), 0u);
}

TEST(PageDraw, PictureCentredInARectangle)
{
    struct TCase
    {
        TRect rect;
        int32_t x, y; // where the picture's top-left pixel lands
    };
    // A 4 x 3 picture; offsets are halved toward zero, also when the picture
    // is larger than the rectangle, and it is not clipped to the rectangle.
    for (const TCase& c : {TCase{{0, 0, 8, 7}, 2, 2}, TCase{{3, 1, 12, 9}, 5, 3}, TCase{{6, 5, 9, 6}, 6, 4},
                           TCase{{6, 6, 7, 7}, 5, 5}})
    {
        CImageBuffer picture =
            MakePicture(4, 3, [](int32_t x, int32_t y) { return Rgb(uint8_t(x + 1), uint8_t(y + 1), 9); });
        CRaster dc(16, 12);
        Fill(dc, kOlive);
        DrawPictureCentred(picture, dc, c.rect);
        for (int32_t y = 0; y < dc.Height(); ++y)
            for (int32_t x = 0; x < dc.Width(); ++x)
            {
                const bool inside = x >= c.x && x < c.x + 4 && y >= c.y && y < c.y + 3;
                const TColor expected = inside ? Rgb(uint8_t(x - c.x + 1), uint8_t(y - c.y + 1), 9) : kOlive;
                ASSERT_EQ(dc.GetPixel(x, y), expected)
                    << x << "," << y << " in case at " << c.x << "," << c.y;
            }
    }
}

TEST(PageDraw, MissingPicturesDrawNothing)
{
    TPictures pictures;
    TUserFace image;
    image.type = kFaceImage;
    image.param = 17;
    TUserFace button;
    button.type = kFaceButton;
    button.param = 4;
    TUserFace unknown;
    unknown.type = 5;
    CRaster dc(100, 150);
    Fill(dc, kOlive);
    for (const TUserFace& face : {image, button, unknown, ColourFace(9, kRed)})
        DrawFace(face, pictures.Finder(), dc, TRect{0, 0, 100, 150});
    DrawLevelSlider(2, pictures.Finder(), dc, 0, 0, 45, 130);
    DrawLevelSlider(2, pictures.Finder(), dc, 0, 0, 130, 45);
    EXPECT_TRUE(AllPixels(dc, kOlive));
}

TEST(PageDraw, VerticalSliderOfDefaultSize)
{
    TPictures pictures;
    pictures.byId[2] = SliderComposite();
    CRaster dc(100, 200);
    const int32_t x = 10, y = 20;
    DrawLevelSlider(2, pictures.Finder(), dc, y, x, 45, 130);
    // k = 47: upper track from y + 15, knob from y + 44 to y + 89 (its last
    // rows are the composite's lower track and first cap row).
    const std::pair<int32_t, TColor> rows[] = {
        {0, kCapTop},     {14, kCapTop},    {15, kTrackUp},    {43, kTrackUp},     {44, kKnob},
        {87, kKnob},      {88, kTrackDown}, {89, kCapBottom},  {90, kTrackDown},   {114, kTrackDown},
        {115, kCapBottom}, {129, kCapBottom}, {130, 0},       {-1, 0},
    };
    for (const auto& [dy, c] : rows)
        EXPECT_EQ(dc.GetPixel(x, y + dy), c) << "row y + " << dy;
    EXPECT_EQ(dc.GetPixel(x + 44, y + 100), kTrackDown);
    EXPECT_EQ(dc.GetPixel(x + 45, y + 100), 0u);
    EXPECT_EQ(dc.GetPixel(x - 1, y + 100), 0u);
}

TEST(PageDraw, WideSliderIsTheCompositeTurnedClockwise)
{
    TPictures pictures;
    pictures.byId[2] = SliderComposite();
    CRaster dc(200, 100);
    const int32_t x = 10, y = 30;
    DrawLevelSlider(2, pictures.Finder(), dc, y, x, 130, 45);
    // The bottom cap comes to the left end; k = 49 puts the knob at x + 46.
    const std::pair<int32_t, TColor> columns[] = {
        {0, kCapBottom}, {14, kCapBottom}, {15, kTrackDown}, {45, kTrackDown}, {46, kKnob}, {89, kKnob},
        {90, kTrackUp},  {91, kCapTop},    {114, kCapTop},   {129, kCapTop},   {130, 0},
    };
    for (const auto& [dx, c] : columns)
    {
        EXPECT_EQ(dc.GetPixel(x + dx, y), c) << "column x + " << dx;
        EXPECT_EQ(dc.GetPixel(x + dx, y + 44), c) << "column x + " << dx;
    }
    EXPECT_EQ(dc.GetPixel(x + 20, y + 45), 0u);
    EXPECT_EQ(dc.GetPixel(x + 20, y - 1), 0u);
    // The picture itself is left as it was.
    EXPECT_EQ(pictures.byId[2].GetWidth(), 45u);
}

TEST(PageDraw, SquareSliderIsVertical)
{
    TPictures pictures;
    pictures.byId[2] = SliderComposite();
    CRaster dc(100, 100);
    DrawLevelSlider(2, pictures.Finder(), dc, 10, 10, 60, 60);
    // Centred: x' = x + (60 - 45) / 2; the top cap at the top.
    EXPECT_EQ(dc.GetPixel(17, 10), kCapTop);
    EXPECT_EQ(dc.GetPixel(16, 10), 0u);
    EXPECT_EQ(dc.GetPixel(17, 69), kCapBottom);
}

TEST(PageDraw, HotspotGrid)
{
    struct TCase
    {
        int32_t width;
        std::set<int32_t> columns;  // columns holding dots, relative to x
    };
    const TCase cases[] = {{20, {0, 20}}, {21, {0, 20, 21}}, {45, {0, 20, 40, 45}}};
    for (const TCase& c : cases)
    {
        CRaster dc(100, 100);
        TUserPage page;
        auto spot = std::make_unique<TUserHotspot>();
        spot->left = 10;
        spot->top = 10;
        spot->width = c.width;
        spot->height = 30;
        page.AppendObject(std::move(spot));
        PaintPage(page, {}, dc);
        std::set<int32_t> columns;
        for (int32_t x = 0; x < 100; ++x)
            for (int32_t y = 11; y < 40; ++y)
                if (y != 30 && dc.GetPixel(x, y) == kGrey)
                    columns.insert(x - 10);
        EXPECT_EQ(columns, c.columns) << "width " << c.width;
    }

    // Dots start at the line's first pixel; the gaps take the background colour.
    CRaster dc(100, 100);
    DrawHotspotGrid(dc, 10, 10, 45, 45);
    EXPECT_EQ(dc.GetPixel(10, 10), kGrey);
    EXPECT_EQ(dc.GetPixel(11, 10), kWhite);
    EXPECT_EQ(dc.GetPixel(12, 10), kGrey);
    EXPECT_EQ(dc.GetPixel(30, 10 + 20), kGrey);
    // Line ends are exclusive: the outline closes, nothing lies beyond it.
    EXPECT_EQ(dc.GetPixel(56, 10), 0u);
    EXPECT_EQ(dc.GetPixel(10, 56), 0u);
}

TEST(PageDraw, SelectionMarks)
{
    TUserPage page;
    page.face = ColourFace(kColourSingle, kNavy);
    auto button = std::make_unique<TUserButton>();
    button->left = 50;
    button->top = 60;
    button->width = 30;
    button->height = 20;
    TUserObject* selected = page.AppendObject(std::move(button));
    CRaster dc(kPageWidth, kPageHeight);
    PaintPage(page, {}, dc, selected);

    // Handles of 6 x 6 with a black border and a white inside, centred on the
    // corners of the rectangle grown by one pixel: (49, 59) to (81, 81).
    for (const auto& [cx, cy] : {std::pair{49, 59}, {49, 81}, {81, 59}, {81, 81}})
    {
        EXPECT_EQ(dc.GetPixel(cx - 3, cy - 3), 0u);
        EXPECT_EQ(dc.GetPixel(cx + 2, cy + 2), 0u);
        EXPECT_EQ(dc.GetPixel(cx - 2, cy - 2), kWhite);
        EXPECT_EQ(dc.GetPixel(cx + 1, cy + 1), kWhite);
        EXPECT_EQ(dc.GetPixel(cx + 3, cy + 3), kNavy);
        EXPECT_EQ(dc.GetPixel(cx - 4, cy - 4), kNavy);
    }
    // A dotted outline through the page's own colour, on the grown rectangle's
    // columns 49 and 80 and rows 59 and 80.
    EXPECT_EQ(dc.GetPixel(53, 59), 0u);
    EXPECT_EQ(dc.GetPixel(54, 59), kNavy);
    EXPECT_EQ(dc.GetPixel(81, 70), kNavy);
    for (const auto& [x, y, dx, dy] : {std::tuple{80, 66, 0, 1}, {60, 80, 1, 0}, {49, 70, 0, 1}})
    {
        const TColor a = dc.GetPixel(x, y);
        const TColor b = dc.GetPixel(x + dx, y + dy);
        EXPECT_TRUE((a == 0u && b == kNavy) || (a == kNavy && b == 0u)) << x << "," << y;
    }
}

TEST(PageDraw, ObjectsAreClippedAtThePageEdge)
{
    TPictures pictures;
    pictures.byId[4] = NineSlice();
    pictures.byId[2] = SliderComposite();
    TUserPage page;
    auto gradient = std::make_unique<TUserImage>();
    gradient->left = 300;
    gradient->top = 220;
    gradient->width = 60;
    gradient->height = 60;
    gradient->face = ColourFace(kColourRadial, Rgb(0, 0, 0), Rgb(255, 255, 255));
    page.AppendObject(std::move(gradient));
    auto button = std::make_unique<TUserButton>();
    button->left = -20;
    button->top = 200;
    button->width = 50;
    button->height = 80;
    button->upFace.type = kFaceButton;
    button->upFace.param = 4;
    page.AppendObject(std::move(button));
    auto slider = std::make_unique<TUserLevel>();
    slider->left = 290;
    slider->top = -40;
    slider->width = 45;
    slider->height = 130;
    page.AppendObject(std::move(slider));

    CRaster dc(400, 300);
    PaintPage(page, pictures.Finder(), dc);
    // Inside the page the objects show; beyond 320 x 240 nothing is drawn.
    const double k = 38 * (38.0 / 120);
    const auto grey = static_cast<uint8_t>(static_cast<int>(static_cast<int>(k) * (255.0 / 120)));
    EXPECT_EQ(dc.GetPixel(319, 239), Rgb(grey, grey, grey));
    EXPECT_EQ(dc.GetPixel(0, 239), kOrange);
    EXPECT_EQ(dc.GetPixel(290, 0), kTrackUp);
    EXPECT_EQ(dc.GetPixel(290, 4), kKnob);
    int outside = 0;
    for (int32_t y = 0; y < 300; ++y)
        for (int32_t x = 0; x < 400; ++x)
            outside += (x >= kPageWidth || y >= kPageHeight) && dc.GetPixel(x, y) != 0u;
    EXPECT_EQ(outside, 0);
}

namespace
{

TUserFace ImageFace(int32_t id)
{
    TUserFace face;
    face.type = kFaceImage;
    face.param = id;
    return face;
}

TPictures AllPictures()
{
    TPictures pictures;
    pictures.byId[4] = NineSlice();
    pictures.byId[2] = SliderComposite();
    pictures.byId[10000] =
        MakePicture(50, 50, [](int32_t x, int32_t y) { return Rgb(uint8_t(x * 5), uint8_t(y * 5), 9); });
    return pictures;
}

enum class EKind
{
    Gradient2,
    Gradient3,
    Gradient4,
    Colour,
    ButtonFace,
    ImageFace,
    Slider,
    Hotspot,
};

std::unique_ptr<TUserObject> MakeObject(EKind kind, int32_t left, int32_t top, int32_t width, int32_t height)
{
    std::unique_ptr<TUserObject> object;
    const auto withFace = [&](TUserFace face)
    {
        auto image = std::make_unique<TUserImage>();
        image->face = face;
        object = std::move(image);
    };
    switch (kind)
    {
    case EKind::Gradient2:
        withFace(ColourFace(kColourLeftToRight, kRed, kBlue));
        break;
    case EKind::Gradient3:
        withFace(ColourFace(kColourTopToBottom, kGreen, kMagenta));
        break;
    case EKind::Gradient4:
        withFace(ColourFace(kColourRadial, kYellow, kNavy));
        break;
    case EKind::Colour:
        withFace(ColourFace(kColourSingle, kOrange));
        break;
    case EKind::ButtonFace:
    {
        auto button = std::make_unique<TUserButton>();
        button->upFace.type = kFaceButton;
        button->upFace.param = 4;
        object = std::move(button);
        break;
    }
    case EKind::ImageFace:
        withFace(ImageFace(10000));
        break;
    case EKind::Slider:
        object = std::make_unique<TUserLevel>();
        break;
    case EKind::Hotspot:
        object = std::make_unique<TUserHotspot>();
        break;
    }
    object->left = left;
    object->top = top;
    object->width = width;
    object->height = height;
    return object;
}

// A page with one object on an olive background, painted, optionally with the
// object selected.
CRaster PaintOne(std::unique_ptr<TUserObject> object, bool selected)
{
    TPictures pictures = AllPictures();
    TUserPage page;
    page.face = ColourFace(kColourSingle, kOlive);
    const TUserObject* shown = page.AppendObject(std::move(object));
    CRaster dc(kPageWidth, kPageHeight);
    PaintPage(page, pictures.Finder(), dc, selected ? shown : nullptr);
    return dc;
}

// Where two paints differ, for a readable failure.
std::string FirstDifference(const CRaster& a, const CRaster& b)
{
    for (int32_t y = 0; y < a.Height(); ++y)
        for (int32_t x = 0; x < a.Width(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y))
                return std::to_string(x) + "," + std::to_string(y);
    return {};
}

} // namespace

// Drawing only what falls inside the clip must give the pixels of drawing the
// whole: each kind, clipped to windows at odd and even offsets, against the
// same drawing with the whole raster as its clip.
TEST(PageDraw, ClippedDrawingKeepsThePixelsOfTheWhole)
{
    TPictures pictures = AllPictures();
    const TImageFinder images = pictures.Finder();
    const std::pair<const char*, std::function<void(CRaster&)>> drawings[] = {
        {"left to right",
         [&](CRaster& dc) {
             DrawFace(ColourFace(kColourLeftToRight, kRed, kBlue), images, dc, TRect{-30, 7, 290, 190});
         }},
        {"top to bottom",
         [&](CRaster& dc) {
             DrawFace(ColourFace(kColourTopToBottom, kGreen, kNavy), images, dc, TRect{11, -20, 200, 230});
         }},
        {"radial",
         [&](CRaster& dc) {
             DrawFace(ColourFace(kColourRadial, kYellow, kNavy), images, dc, TRect{-5, -9, 300, 211});
         }},
        {"button face", [&](CRaster& dc) { DrawButtonFace(4, images, dc, -3, -7, 281, 197); }},
        {"narrow button face", [&](CRaster& dc) { DrawButtonFace(4, images, dc, 20, 30, 21, 150); }},
        {"vertical slider", [&](CRaster& dc) { DrawLevelSlider(2, images, dc, -11, 40, 45, 230); }},
        {"horizontal slider", [&](CRaster& dc) { DrawLevelSlider(2, images, dc, 60, -13, 270, 45); }},
        {"image",
         [&](CRaster& dc) {
             DrawFace(ImageFace(10000), images, dc, TRect{-9, -3, 30, 40});
         }},
        {"hot spot", [&](CRaster& dc) { DrawHotspotGrid(dc, -7, -3, 263, 207); }},
        {"hot spot drawn backwards", [&](CRaster& dc) { DrawHotspotGrid(dc, 250, 190, -237, -171); }},
        {"selection",
         [&](CRaster& dc) {
             DrawSelection(dc, TRect{-2, 3, 237, 198});
         }},
    };
    const TRect windows[] = {{0, 0, 300, 220}, {1, 1, 2, 2},       {13, 5, 77, 60}, {100, 101, 231, 217},
                             {199, 0, 300, 9}, {0, 150, 300, 220}, {51, 50, 51, 90}};
    for (const auto& [name, draw] : drawings)
    {
        SCOPED_TRACE(name);
        CRaster whole(300, 220);
        Fill(whole, kCyan);
        draw(whole);
        for (const TRect& window : windows)
        {
            CRaster part(300, 220);
            Fill(part, kCyan);
            part.SetClip(window);
            draw(part);
            part.ResetClip();
            for (int32_t y = 0; y < 220; ++y)
                for (int32_t x = 0; x < 300; ++x)
                {
                    const TColor expected = window.Contains(x, y) ? whole.GetPixel(x, y) : kCyan;
                    ASSERT_EQ(part.GetPixel(x, y), expected)
                        << x << "," << y << " in window " << window.left << "," << window.top;
                }
        }
    }
}

// Objects 2,147,483,647 pixels across, or placed at the far ends of the
// coordinates, paint what shows of them as a smaller object reaching out of
// view paints it, with the same pixels and no more work. The smaller one has
// edges of the same parity (dotted lines may start from either end) and, for
// a hot spot, the same grid.
TEST(PageDraw, HugeObjectsPaintWhatShows)
{
    constexpr int32_t kHuge = INT32_MAX;
    struct TPlace
    {
        int32_t left, top, width, height;
    };
    struct
    {
        const char* name;
        EKind kind;
        TPlace huge;
        TPlace same; // an object of ordinary size that shows the same pixels
    } const cases[] = {
        {"button face wide", EKind::ButtonFace, {0, 20, kHuge, 100}, {0, 20, 1001, 100}},
        {"button face tall", EKind::ButtonFace, {30, 0, 100, kHuge}, {30, 0, 100, 1001}},
        {"button face ending in view",
         EKind::ButtonFace,
         {200 - kHuge, 200 - kHuge, kHuge, kHuge},
         {-801, -801, 1001, 1001}},
        {"button face beyond the far end",
         EKind::ButtonFace,
         {kHuge - 10, 0, kHuge, kHuge},
         {400, 0, 10, 10}},
        // Ending at -1: only a corner handle of the selection shows.
        {"button face before the near end",
         EKind::ButtonFace,
         {INT32_MIN, INT32_MIN, kHuge, kHuge},
         {-20, -20, 19, 19}},
        {"image face", EKind::ImageFace, {5, 6, kHuge, kHuge}, {5, 6, 1001, 1001}},
        {"image face far left", EKind::ImageFace, {INT32_MIN, 0, kHuge, 240}, {-20, 0, 19, 240}},
        {"colour", EKind::Colour, {INT32_MIN, INT32_MIN, kHuge, kHuge}, {-20, -20, 19, 19}},
        {"colour ending in view", EKind::Colour, {100 - kHuge, 50, kHuge, kHuge}, {-1001, 50, 1101, 1001}},
        {"vertical slider", EKind::Slider, {100, 0, 45, kHuge}, {100, 0, 45, 100001}},
        {"horizontal slider", EKind::Slider, {0, 100, kHuge, 45}, {0, 100, 100001, 45}},
        {"slider beyond the far end", EKind::Slider, {kHuge, kHuge, 45, kHuge}, {401, 0, 45, 100}},
        {"hot spot", EKind::Hotspot, {0, 0, kHuge, kHuge}, {0, 0, 1001, 1001}},
        // Far to the left and above, the dots keep their place along each line.
        {"hot spot ending in view",
         EKind::Hotspot,
         {200 - kHuge, 150 - kHuge, kHuge, kHuge},
         {-1007, -1017, 1207, 1167}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_EQ((int64_t{c.huge.left} + c.huge.width - c.same.left - c.same.width) % 2, 0);
        for (bool selected : {false, true})
        {
            const auto make = [&](const TPlace& p)
            { return MakeObject(c.kind, p.left, p.top, p.width, p.height); };
            const CRaster huge = PaintOne(make(c.huge), selected);
            const CRaster same = PaintOne(make(c.same), selected);
            EXPECT_EQ(FirstDifference(huge, same), "") << (selected ? "selected" : "");
        }
    }

    // A gradient's ramp spans the whole object: its pixels in view follow the
    // ramp's formula over the full length.
    struct
    {
        EKind kind;
        int32_t left, top, width, height;
    } const gradients[] = {
        {EKind::Gradient2, 0, 0, kHuge, 240},
        {EKind::Gradient2, 320 - kHuge, 0, kHuge, 240},
        {EKind::Gradient3, 0, 240 - kHuge, 320, kHuge},
        {EKind::Gradient4, 0, 0, kHuge, 1},
        {EKind::Gradient4, 300 - kHuge, 200 - kHuge, kHuge, kHuge},
    };
    for (const auto& g : gradients)
    {
        SCOPED_TRACE(g.left);
        const CRaster dc = PaintOne(MakeObject(g.kind, g.left, g.top, g.width, g.height), false);
        const TColor from = g.kind == EKind::Gradient2 ? kRed : g.kind == EKind::Gradient3 ? kGreen : kYellow;
        const TColor to = g.kind == EKind::Gradient2 ? kBlue : g.kind == EKind::Gradient3 ? kMagenta : kNavy;
        const double length = g.kind == EKind::Gradient2   ? double(g.width)
                              : g.kind == EKind::Gradient3 ? double(g.height)
                                                           : double(g.width) + double(g.height);
        for (int32_t y = 0; y < kPageHeight; ++y)
            for (int32_t x = 0; x < kPageWidth; ++x)
            {
                const int64_t i = int64_t{x} - g.left;
                const int64_t j = int64_t{y} - g.top;
                if (i >= g.width || j >= g.height)
                {
                    ASSERT_EQ(dc.GetPixel(x, y), kOlive);
                    continue;
                }
                const double p = double(g.kind == EKind::Gradient2   ? i
                                        : g.kind == EKind::Gradient3 ? j
                                                                     : i + j);
                const double k = double(int64_t(p * (p / length)));
                const auto channel = [&](uint8_t a, uint8_t b)
                { return uint8_t(int64_t(k * (double(int(b) - int(a)) / length) + a)); };
                const TColor expected =
                    Rgb(channel(RedOf(from), RedOf(to)), channel(GreenOf(from), GreenOf(to)),
                        channel(BlueOf(from), BlueOf(to)));
                ASSERT_EQ(dc.GetPixel(x, y), expected) << x << "," << y;
            }
    }
}

// What the panel preview paints: buttons by the face their look asks for and
// sliders with their knob where the finger left it, through the same drawing.
TEST(PageDraw, APageLookShowsDownFacesAndMovedKnobs)
{
    TPictures pictures;
    pictures.byId[2] = SliderComposite();
    TUserPage page;
    auto button = std::make_unique<TUserButton>();
    button->SetRect({10, 10, 40, 20});
    button->upFace = ColourFace(kColourSingle, kRed);
    button->downFace = ColourFace(kColourSingle, kGreen);
    page.AppendObject(button->Clone());
    button->left = 60;
    page.AppendObject(button->Clone());
    // A blank down face draws nothing over the up face: it never looks pressed.
    button->left = 200;
    button->downFace = TUserFace{};
    page.AppendObject(std::move(button));
    auto slider = std::make_unique<TUserLevel>();
    slider->SetRect({100, 10, 45, 130});
    page.AppendObject(std::move(slider));

    CRaster dc(kPageWidth, kPageHeight);
    TPageLook look(3);
    look[1].down = true;
    look[2].down = true;
    PaintPage(page, pictures.Finder(), dc, look);
    EXPECT_EQ(dc.GetPixel(20, 20), kRed);
    EXPECT_EQ(dc.GetPixel(70, 20), kGreen);
    EXPECT_EQ(dc.GetPixel(210, 20), kRed);
    EXPECT_EQ(dc.GetPixel(100, 10 + 44), kKnob) << "beyond the look: the knob at rest";

    // The knob at offset 18 covers rows 15 to 60 and the lower track runs from there on.
    look.resize(4);
    look[3].knob = 18;
    PaintPage(page, pictures.Finder(), dc, look);
    const std::pair<int32_t, TColor> rows[] = {
        {14, kCapTop}, {15, kKnob}, {58, kKnob}, {59, kTrackDown}, {60, kCapBottom}, {61, kTrackDown},
        {114, kTrackDown}, {115, kCapBottom},
    };
    for (const auto& [dy, c] : rows)
        EXPECT_EQ(dc.GetPixel(100, 10 + dy), c) << "row y + " << dy;
}
