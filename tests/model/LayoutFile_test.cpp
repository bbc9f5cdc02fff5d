#include "Layout.h"
#include "LayoutFile.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class LayoutFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qel-layoutfile-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    static void Write(const std::string& path, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<uint8_t> Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path m_dir;
};

// Bytes after the last field read are ignored, so zeros pad a file to any size.
std::vector<uint8_t> Padded(std::vector<uint8_t> bytes, size_t size)
{
    bytes.resize(size, 0);
    return bytes;
}

} // namespace

TEST_F(LayoutFileTest, NewTemplateIsMagicAndImage)
{
    TLayout layout;
    ASSERT_TRUE(SaveTemplateFile(layout, Path("new.qel")).ok);
    const std::vector<uint8_t> bytes = Read(Path("new.qel"));
    ASSERT_EQ(bytes.size(), 3898u);
    EXPECT_EQ(ReadMagic(bytes.data(), bytes.size()), kTemplateMagic);
    EXPECT_EQ(bytes[4], 7);
}

TEST_F(LayoutFileTest, TemplateAndUserPageSizeLimits)
{
    TLayout named;
    named.controlName = u"From file";
    ASSERT_TRUE(SaveTemplateFile(named, Path("t.qel")).ok);
    const std::vector<uint8_t> qel = Read(Path("t.qel"));
    TUserPage page(u"Page from file", 10004);
    const std::vector<uint8_t> qup = StoreUserPage(named, page);

    struct TCase
    {
        const char* what;
        std::vector<uint8_t> bytes;
        bool accepted;
    };
    const TCase templates[] = {
        {"500000 bytes", Padded(qel, 500000), true},
        {"500001 bytes", Padded(qel, 500001), false},
        {"4 bytes", Padded(qel, 4), false},
        {"wrong magic", Padded({0xD6, 0xCA, 0xAD, 0xAB}, 3898), false},
    };
    for (const TCase& c : templates)
    {
        SCOPED_TRACE(c.what);
        Write(Path("case.qel"), c.bytes);
        TLayout layout;
        const TFileResult result = LoadTemplateFile(layout, Path("case.qel"));
        EXPECT_EQ(result.ok, c.accepted) << result.reason;
        EXPECT_EQ(layout.controlName, c.accepted ? u"From file" : u"");
        EXPECT_EQ(result.reason.empty(), c.accepted);
    }

    const TCase userPages[] = {
        {"300000 bytes", Padded(qup, 300000), true},
        {"300001 bytes", Padded(qup, 300001), false},
        {"4 bytes", Padded(qup, 4), false},
    };
    for (const TCase& c : userPages)
    {
        SCOPED_TRACE(c.what);
        Write(Path("case.qup"), c.bytes);
        TLayout layout;
        TUserPage target(u"Before", 10000);
        const TFileResult result = ImportUserPage(layout, target, Path("case.qup"));
        EXPECT_EQ(result.ok, c.accepted) << result.reason;
        EXPECT_EQ(target.name, c.accepted ? u"Page from file" : u"Before");
    }
}

TEST_F(LayoutFileTest, FailedSaveIsReportedAndLeavesTheOldFile)
{
    TLayout layout;
    const TFileResult missingDir = SaveTemplateFile(layout, Path("no/such/dir/t.qel"));
    EXPECT_FALSE(missingDir.ok);
    EXPECT_FALSE(missingDir.reason.empty());

    // A directory in the way of the rename: the write fails, nothing is left over.
    fs::create_directories(Path("taken.qel/inside"));
    EXPECT_FALSE(SaveTemplateFile(layout, Path("taken.qel")).ok);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    Write(Path("keep.qel"), {1, 2, 3});
    TLayout huge;
    huge.controlName = std::u16string(300000, u'x');  // 600000 bytes: over the limit
    EXPECT_FALSE(SaveTemplateFile(huge, Path("keep.qel")).ok);
    EXPECT_EQ(Read(Path("keep.qel")), (std::vector<uint8_t>{1, 2, 3}));
}

// Export never writes a file that Import would refuse: one byte over the
// limit is refused with the size and the limit, and nothing is written.
TEST_F(LayoutFileTest, UserPageOverTheImportLimitIsNotExported)
{
    TLayout layout;
    // 4 (magic) + the page record; the name makes up the rest.
    const size_t overhead = StoreUserPage(layout, TUserPage(u"", 10000)).size();
    TUserPage fits(std::u16string((kUserPageFileLimit - overhead) / 2, u'x'), 10000);
    ASSERT_TRUE(ExportUserPage(layout, fits, Path("fits.qup")).ok);
    EXPECT_EQ(fs::file_size(Path("fits.qup")), kUserPageFileLimit);

    TUserPage page(std::u16string(150001, u'x'), 10000);
    const TFileResult refused = ExportUserPage(layout, page, Path("big.qup"));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, EFileError::TooLargeToStore);
    EXPECT_EQ(refused.reason,
              "the page with its pictures is 300,046 bytes, more than the 300,000 a user page "
              "file may have to be imported");
    EXPECT_FALSE(fs::exists(Path("big.qup")));
    // Nor is a file found so large imported.
    Write(Path("big.qup"), StoreUserPage(layout, page));
    TUserPage target(u"Before", 10000);
    EXPECT_FALSE(ImportUserPage(layout, target, Path("big.qup")).ok);
    EXPECT_EQ(target.name, u"Before");
}
