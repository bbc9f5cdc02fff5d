#include "Btn8Ctrl.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "QelctlRun.h"
#include "Raster.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

// A page of objects 2,147,483,647 pixels across, as a template may hold them:
// a radial and a left-to-right gradient, a button face, two sliders and a
// hot spot, with the button selected.
void SaveHugePage(const std::string& path)
{
    TLayout layout;
    auto page = std::make_unique<TUserPage>(u"Huge", layout.pages.NextPageId());
    const auto place = [](TUserObject& o, int32_t left, int32_t top, int32_t width, int32_t height)
    {
        o.left = left;
        o.top = top;
        o.width = width;
        o.height = height;
    };
    const auto gradient = [&](int32_t mode, int32_t top, int32_t height)
    {
        auto o = std::make_unique<TUserImage>();
        place(*o, 0, top, INT32_MAX, height);
        o->face.type = kFaceColour;
        o->face.param = mode;
        o->face.colour1 = Rgb(255, 0, 0);
        o->face.colour2 = Rgb(0, 0, 255);
        page->AppendObject(std::move(o));
    };
    gradient(kColourRadial, 0, 1);
    gradient(kColourLeftToRight, 1, 59);
    auto button = std::make_unique<TUserButton>();
    place(*button, 0, 60, INT32_MAX, 60);
    button->upFace.type = kFaceButton;
    button->upFace.param = 4;
    page->AppendObject(std::move(button));
    auto tall = std::make_unique<TUserLevel>();
    place(*tall, 10, 120, 45, INT32_MAX);
    page->AppendObject(std::move(tall));
    auto wide = std::make_unique<TUserLevel>();
    place(*wide, 60, 130, INT32_MAX, 45);
    page->AppendObject(std::move(wide));
    auto spot = std::make_unique<TUserHotspot>();
    place(*spot, 60, 180, INT32_MAX, INT32_MAX);
    page->AppendObject(std::move(spot));
    layout.pages.InsertPage(std::move(page));
    ASSERT_TRUE(SaveTemplateFile(layout, path));
}

// The colour of an on-screen pixel of a decoded true-colour picture.
TColor PixelAt(const CImageBuffer& image, int32_t x, int32_t y)
{
    const TRgbQuad q = image.GetPixelColor(x, static_cast<int32_t>(image.GetHeight()) - 1 - y, false);
    return Rgb(q.red, q.green, q.blue);
}

class RenderCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qel-render-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);

        // Page 1 is an eight-button page; page 2 a user page on navy with a
        // red picture at (100, 50) and a hot spot.
        TLayout layout;
        layout.pages.InsertPage(std::make_unique<CBtn8Ctrl>(u"Buttons"));
        auto picture = std::make_unique<CImageBuffer>();
        picture->Data().Create(20, 10, 24);
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 20; ++x)
                picture->Data().Row(y)[3 * x + 2] = 255;
        const int32_t pictureId = layout.images.AddImage(u"Red", std::move(picture))->id;

        auto page = std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId());
        page->face.type = kFaceColour;
        page->face.param = kColourSingle;
        page->face.colour1 = Rgb(0, 0, 128);
        auto image = std::make_unique<TUserImage>();
        image->left = 100;
        image->top = 50;
        image->width = 20;
        image->height = 10;
        image->face.type = kFaceImage;
        image->face.param = pictureId;
        page->AppendObject(std::move(image));
        auto spot = std::make_unique<TUserHotspot>();
        spot->left = 200;
        spot->top = 100;
        spot->width = 40;
        spot->height = 40;
        page->AppendObject(std::move(spot));
        layout.pages.InsertPage(std::move(page));
        ASSERT_TRUE(SaveTemplateFile(layout, Path("in.qel")));
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    int Qelctl(const std::string& arguments, std::string* out = nullptr, std::string* err = nullptr) const
    {
        const TQelctlRun run = RunQelctl("render " + arguments, m_dir);
        if (out != nullptr)
            *out = run.out;
        if (err != nullptr)
            *err = run.err;
        return run.status;
    }

    fs::path m_dir;
};

} // namespace

TEST_F(RenderCommand, PaintsThePageWithItsSelection)
{
    ASSERT_EQ(Qelctl("'" + Path("in.qel") + "' Lobby -o '" + Path("out.png") + "' --select 1"), 0);
    CImageBuffer png;
    ASSERT_TRUE(png.Load(Path("out.png")));
    ASSERT_EQ(png.GetWidth(), 320u);
    ASSERT_EQ(png.GetHeight(), 240u);
    EXPECT_EQ(PixelAt(png, 0, 0), Rgb(0, 0, 128));
    EXPECT_EQ(PixelAt(png, 110, 55), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(png, 200, 100), Rgb(128, 128, 128));
    // The selected picture's top-left handle: a white square with a black border.
    EXPECT_EQ(PixelAt(png, 96, 46), Rgb(0, 0, 0));
    EXPECT_EQ(PixelAt(png, 98, 48), Rgb(255, 255, 255));

    // By position and by id the same page comes out, without the selection.
    ASSERT_EQ(Qelctl("'" + Path("in.qel") + "' 2 -o '" + Path("two.png") + "'"), 0);
    ASSERT_EQ(Qelctl("'" + Path("in.qel") + "' 10000 -o '" + Path("id.png") + "'"), 0);
    EXPECT_EQ(ReadTextFile(Path("two.png")), ReadTextFile(Path("id.png")));
    CImageBuffer plain;
    ASSERT_TRUE(plain.Load(Path("two.png")));
    EXPECT_EQ(PixelAt(plain, 98, 48), Rgb(0, 0, 128));
}

TEST_F(RenderCommand, AllWritesEveryUserPage)
{
    std::string out;
    ASSERT_EQ(Qelctl("'" + Path("in.qel") + "' --all '" + Path("pages") + "'", &out), 0);
    EXPECT_EQ(out, Path("pages") + "/page-2.png\n");
    EXPECT_TRUE(fs::exists(Path("pages/page-2.png")));
    EXPECT_FALSE(fs::exists(Path("pages/page-1.png")));
}

TEST_F(RenderCommand, ObjectsOfAnySizePaintWhatShows)
{
    SaveHugePage(Path("huge.qel"));
    ASSERT_EQ(Qelctl("'" + Path("huge.qel") + "' Huge -o '" + Path("huge.png") + "' --select 3"), 0);
    CImageBuffer png;
    ASSERT_TRUE(png.Load(Path("huge.png")));
    // Over 2^31 pixels both ramps have barely left their start colour.
    EXPECT_EQ(PixelAt(png, 319, 0), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(png, 319, 30), Rgb(255, 0, 0));
    EXPECT_NE(PixelAt(png, 100, 90), Rgb(0, 0, 0));
}

TEST_F(RenderCommand, Refusals)
{
    struct TCase
    {
        std::string args;
        int status;
        std::string message;  // part of stderr
    };
    const std::string in = "'" + Path("in.qel") + "'";
    const std::string out = " -o '" + Path("x.png") + "'";
    const TCase cases[] = {
        {in + " 1" + out, 1, "eight-button page"},
        {in + " 7" + out, 1, "qelctl: " + Path("in.qel") + ":"},
        {in + " Lobby" + out + " --select 3", 1, "has 2 objects"},
        {"'" + Path("missing.qel") + "' 1" + out, 1, "qelctl: " + Path("missing.qel") + ":"},
        {in + " Lobby", 2, "usage"},
        {in + " Lobby" + out + " --select 0", 2, "--select"},
    };
    for (const TCase& c : cases)
    {
        std::string err;
        EXPECT_EQ(Qelctl(c.args, nullptr, &err), c.status) << c.args;
        EXPECT_NE(err.find(c.message), std::string::npos) << c.args << "\n" << err;
        EXPECT_FALSE(fs::exists(Path("x.png"))) << c.args;
    }
}
