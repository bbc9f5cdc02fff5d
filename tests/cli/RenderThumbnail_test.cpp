#include "ImageBuffer.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "QelctlRun.h"
#include "Raster.h"
#include "UserImage.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class RenderThumbnail : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qel-thumbnail-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        // A navy page whose left half is red, so that the picture's aspect and
        // orientation show in the scaled copy.
        TLayout layout;
        auto page = std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId());
        page->face.type = kFaceColour;
        page->face.param = kColourSingle;
        page->face.colour1 = Rgb(0, 0, 128);
        auto half = std::make_unique<TUserImage>();
        half->width = 160;
        half->height = 240;
        half->face.type = kFaceColour;
        half->face.param = kColourSingle;
        half->face.colour1 = Rgb(255, 0, 0);
        page->AppendObject(std::move(half));
        layout.pages.InsertPage(std::move(page));
        ASSERT_TRUE(SaveTemplateFile(layout, (m_dir / "in.qel").string()));
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

TEST_F(RenderThumbnail, FitsTheSquareKeepingTheAspectAndNeverGrows)
{
    struct TCase
    {
        const char* size;
        uint32_t width;
        uint32_t height;
    };
    for (const TCase& c : {TCase{"128", 128, 96}, TCase{"100", 100, 75}, TCase{"256", 256, 192},
                           TCase{"1024", 320, 240}, TCase{"2", 2, 1}})
    {
        SCOPED_TRACE(c.size);
        const fs::path out = m_dir / "thumb.png";
        const TQelctlRun run = RunQelctl("render '" + (m_dir / "in.qel").string() + "' 1 --thumbnail " +
                                             c.size + " -o '" + out.string() + "'",
                                         m_dir);
        ASSERT_EQ(run.status, 0) << run.err;
        CImageBuffer image;
        ASSERT_TRUE(image.Load(out.string()));
        EXPECT_EQ(image.GetWidth(), c.width);
        EXPECT_EQ(image.GetHeight(), c.height);
        if (c.width >= 100)
        {
            // Rows are stored from the bottom; the left quarter is red, the right navy.
            const TRgbQuad left = image.GetPixelColor(static_cast<int32_t>(c.width / 8), 0, false);
            const TRgbQuad right = image.GetPixelColor(static_cast<int32_t>(c.width * 7 / 8), 0, false);
            EXPECT_GT(left.red, 200);
            EXPECT_LT(left.blue, 50);
            EXPECT_LT(right.red, 50);
            EXPECT_GT(right.blue, 100);
        }
    }
}

TEST_F(RenderThumbnail, RefusesWhatIsNoSize)
{
    const std::string in = "'" + (m_dir / "in.qel").string() + "' ";
    const std::string out = " -o '" + (m_dir / "t.png").string() + "'";
    for (const std::string& args :
         {in + "1 --thumbnail 0" + out, in + "1 --thumbnail x" + out, in + "1 --thumbnail -5" + out,
          in + "1 --thumbnail 64 --select 1" + out, in + "--all '" + m_dir.string() + "/all' --thumbnail 64"})
    {
        SCOPED_TRACE(args);
        EXPECT_EQ(RunQelctl("render " + args, m_dir).status, 2);
        EXPECT_FALSE(fs::exists(m_dir / "t.png"));
    }
}

} // namespace
