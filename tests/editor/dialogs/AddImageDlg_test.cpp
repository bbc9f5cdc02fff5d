#include "AddImageDlg.h"

#include "DialogDriver.h"
#include "ImageBuffer.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "PageDraw.h"
#include "PictureFile.h"
#include "PictureFiles.h"
#include "RasterView.h"
#include "ScriptedUiServices.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class AddImageDlgTest : public ::testing::Test
{
protected:
    // A PNG file of w x h in the test's directory.
    QString Png(int32_t w, int32_t h)
    {
        const QString path = m_dir.filePath(QStringLiteral("%1x%2.png").arg(w).arg(h));
        EXPECT_TRUE(WritePng(path, PatternPicture(w, h))) << path.toStdString();
        return path;
    }

    QString TextFile(const QString& name, const QByteArray& content)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteBytes(path, content.constData(), content.size()));
        return path;
    }

    // Browses to path in the dialog.
    void Browse(CAddImageDlg& dlg, const QString& path)
    {
        m_ui.openAnswers.push_back(path);
        Click(&dlg, CAddImageDlg::kBrowse);
    }

    static QSize Size(const CImageBuffer& image)
    {
        return {static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight())};
    }

    static QSize Shown(const CAddImageDlg& dlg)
    {
        return {Caption(&dlg, CAddImageDlg::kWidth).toInt(), Caption(&dlg, CAddImageDlg::kHeight).toInt()};
    }

    QTemporaryDir m_dir;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
};

TEST_F(AddImageDlgTest, FitsThePictureToTheScreenAndShowsTheFileSize)
{
    struct TCase
    {
        QSize file;
        QSize fitted;
    };
    for (const TCase& c :
         {TCase{{640, 480}, {320, 240}}, TCase{{1000, 300}, {320, 96}}, TCase{{300, 1000}, {72, 240}},
          TCase{{200, 100}, {200, 100}}, TCase{{320, 240}, {320, 240}}, TCase{{321, 240}, {320, 239}}})
    {
        const QString path = Png(c.file.width(), c.file.height());
        CAddImageDlg dlg;
        EXPECT_EQ(Shown(dlg), QSize(0, 0));
        Browse(dlg, path);
        EXPECT_EQ(Shown(dlg), c.file) << "the size the file had";
        EXPECT_EQ(Caption(&dlg, CAddImageDlg::kProblem), QString());
        Click(&dlg, CAddImageDlg::kOk);
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
        const std::unique_ptr<CImageBuffer> image = dlg.TakeImage();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(Size(*image), c.fitted) << c.file.width() << " x " << c.file.height();
        if (c.fitted == c.file)
        {
            EXPECT_EQ(image->Data().bits, PatternPicture(c.file.width(), c.file.height()).Data().bits)
                << "a picture that fits is taken as it is";
        }
    }
    ASSERT_FALSE(m_ui.fileDialogs.empty());
    // The first filter shows every format the program reads.
    EXPECT_TRUE(m_ui.fileDialogs[0].filter.startsWith(QStringLiteral(
        "Pictures (*.png *.jpg *.jpeg *.gif *.tif *.tiff *.jp2 *.j2k *.j2c *.jpc *.webp *.bmp *.dib)|")))
        << m_ui.fileDialogs[0].filter.toStdString();
    EXPECT_TRUE(m_ui.fileDialogs[0].filter.endsWith(
        QStringLiteral("|PNG Graphics files (*.png)|*.png|All Files (*.*)|*.*||")));
    EXPECT_EQ(m_ui.fileDialogs[0].defaultExt, QStringLiteral(".png"));
}

TEST_F(AddImageDlgTest, BrowseKeepsWhatWasTypedOrOffersTheFileName)
{
    const QString path = Png(40, 30);
    CAddImageDlg dlg;
    Type(&dlg, CAddImageDlg::kDescription, QStringLiteral("Typed first"));
    m_ui.openAnswers.push_back(std::nullopt);
    Click(&dlg, CAddImageDlg::kBrowse);
    EXPECT_EQ(Text(&dlg, CAddImageDlg::kDescription), QStringLiteral("Typed first"))
        << "no file chosen, nothing changes";
    Browse(dlg, path);
    EXPECT_EQ(Text(&dlg, CAddImageDlg::kDescription), QStringLiteral("Typed first"));
    EXPECT_EQ(dlg.Description(), std::u16string()) << "taken only on OK";
    Click(&dlg, CAddImageDlg::kOk);
    EXPECT_EQ(dlg.Description(), u"Typed first");

    // Nothing typed: the file's name without its extension is offered, and
    // stays when the next file is chosen.
    CAddImageDlg offered;
    const QString foyer = m_dir.filePath(QStringLiteral("Foyer.at night.png"));
    ASSERT_TRUE(QFile::copy(path, foyer));
    Browse(offered, foyer);
    EXPECT_EQ(Text(&offered, CAddImageDlg::kDescription), QStringLiteral("Foyer.at night"));
    Browse(offered, path);
    EXPECT_EQ(Text(&offered, CAddImageDlg::kDescription), QStringLiteral("Foyer.at night"));
    CAddImageDlg refused;
    Browse(refused, TextFile(QStringLiteral("notes.txt"), "text"));
    EXPECT_EQ(Text(&refused, CAddImageDlg::kDescription), QString()) << "no picture, no name offered";
}

TEST_F(AddImageDlgTest, AFileThatGivesNoPictureLeavesThePictureAndSaysWhy)
{
    struct TCase
    {
        QString path;
        QString problem;
    };
    const QByteArray png = [&]
    {
        QFile file(Png(20, 20));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.png")));
    const QString huge = m_dir.filePath(QStringLiteral("huge.png"));
    ASSERT_TRUE(WritePngHeader(huge, 20000, 10));
    const QString photo = Png(640, 480);
    CImageBuffer fitted = PatternPicture(640, 480);
    FitPictureToPanel(fitted);
    for (const TCase& c : {
             TCase{TextFile("notes.txt", "Plain text, not a picture."),
                   QStringLiteral("notes.txt: not a picture in a format we read")},
             TCase{TextFile("empty.png", {}), QStringLiteral("empty.png: not a picture in a format we read")},
             TCase{TextFile("cut.png", png.left(png.size() / 2)),
                   QStringLiteral("cut.png: not a picture in a format we read")},
             TCase{huge, QStringLiteral("huge.png: picture too large (20000 \u00D7 10; at most 16384 pixels "
                                        "on a side and 64 million pixels)")},
             TCase{m_dir.filePath("folder.png"), QStringLiteral("folder.png: not a regular file")},
             TCase{"/dev/zero", QStringLiteral("zero: not a regular file")},
             TCase{m_dir.filePath("missing.png"),
                   QStringLiteral("missing.png: cannot open file (no such file or directory)")},
         })
    {
        // First without a picture, then over one that was fitted.
        CAddImageDlg dlg;
        // The line gives way in the middle when the reason is long; its tip
        // holds the whole reason.
        const auto* line = DlgItem<QLabel>(&dlg, CAddImageDlg::kProblem);
        Browse(dlg, c.path);
        EXPECT_EQ(line->toolTip(), c.problem);
        EXPECT_EQ(Shown(dlg), QSize(0, 0));

        Browse(dlg, photo);
        EXPECT_EQ(Caption(&dlg, CAddImageDlg::kProblem), QString());

        Browse(dlg, c.path);
        EXPECT_EQ(line->toolTip(), c.problem);
        EXPECT_EQ(Shown(dlg), QSize(320, 240)) << "the size of the picture kept";
        Click(&dlg, CAddImageDlg::kOk);
        const std::unique_ptr<CImageBuffer> image = dlg.TakeImage();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Data().bits, fitted.Data().bits) << "fitted once, then left alone";
    }

    CAddImageDlg dlg;
    Browse(dlg, m_dir.filePath("notes.txt"));
    Click(&dlg, CAddImageDlg::kOk);
    EXPECT_EQ(dlg.TakeImage(), nullptr);
}

TEST_F(AddImageDlgTest, ALongFileNameStaysOnOneLine)
{
    const QString name = QString(200, u'n') + QStringLiteral(".txt");
    CAddImageDlg dlg;
    Browse(dlg, TextFile(name, "text"));
    const auto* line = DlgItem<QLabel>(&dlg, CAddImageDlg::kProblem);
    ASSERT_NE(line, nullptr);
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
    EXPECT_EQ(line->toolTip(), name + QStringLiteral(": not a picture in a format we read"));
}

TEST_F(AddImageDlgTest, CancelKeepsNothing)
{
    const QString path = Png(50, 50);
    for (const bool escape : {false, true})
    {
        CAddImageDlg dlg;
        Browse(dlg, path);
        Type(&dlg, CAddImageDlg::kDescription, QStringLiteral("Not wanted"));
        if (escape)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            Click(&dlg, CAddImageDlg::kCancel);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(dlg.TakeImage(), nullptr);
        EXPECT_EQ(dlg.Description(), std::u16string());
    }
}

TEST_F(AddImageDlgTest, PreviewShowsTheFittedPictureCentredInTheFrame)
{
    CAddImageDlg dlg;
    Browse(dlg, Png(1000, 300));
    auto* preview = DlgItem<CRasterView>(&dlg, CAddImageDlg::kPreview);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->geometry(), ControlRect(&dlg, CAddImageDlg::kPreviewFrame).adjusted(3, 10, -3, -10));
    const QImage shown = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);

    Click(&dlg, CAddImageDlg::kOk);
    const std::unique_ptr<CImageBuffer> image = dlg.TakeImage();
    ASSERT_NE(image, nullptr);
    CRaster expected(preview->width(), preview->height());
    expected.FillRect(TRect{0, 0, expected.Width(), expected.Height()}, WindowColour(&dlg));
    DrawPictureCentred(*image, expected, TRect{0, 0, expected.Width(), expected.Height()});
    EXPECT_EQ(shown, RasterToImage(expected));
}

// A library whose largest added id is 10004, or only the built-in pictures.
TEST_F(AddImageDlgTest, RunAddImageAddsTheNextIdAtTheHead)
{
    const QString path = Png(400, 300);
    struct TCase
    {
        bool withAdded;
        bool browse;
        int32_t id;
    };
    for (const TCase& c : {TCase{false, true, 10000}, TCase{true, true, 10005}, TCase{true, false, 10005}})
    {
        TLayout layout;
        CLayoutHistory history(layout);
        if (c.withAdded)
            for (const int32_t id : {10004, 10001})
            {
                auto entry = std::make_unique<TImageEntry>();
                entry->id = id;
                layout.images.InsertHead(std::move(entry));
            }
        const size_t before = layout.images.Size();
        m_ui.dialogAnswers.push_back(
            [&](QDialog& shown)
            {
                if (c.browse)
                    Browse(static_cast<CAddImageDlg&>(shown), path);
                Type(&shown, CAddImageDlg::kDescription, QStringLiteral("Terrace"));
                Click(&shown, CAddImageDlg::kOk);
            });
        TImageEntry* entry = RunAddImage(nullptr, layout);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->id, c.id);
        EXPECT_EQ(entry->name, u"Terrace");
        EXPECT_EQ(layout.images.Head(), entry);
        EXPECT_EQ(layout.images.Size(), before + 1);
        if (c.browse)
        {
            ASSERT_NE(entry->image, nullptr);
            EXPECT_EQ(Size(*entry->image), QSize(320, 240));
        }
        else
            EXPECT_EQ(entry->image, nullptr) << "OK without a file adds a name without a picture";
    }
    EXPECT_EQ(m_ui.dialogsShown.value(0), QStringLiteral("Add Image"));

    TLayout layout;
    CLayoutHistory history(layout);
    const size_t before = layout.images.Size();
    m_ui.dialogAnswers.push_back(
        [&](QDialog& shown)
        {
            Browse(static_cast<CAddImageDlg&>(shown), path);
            Click(&shown, CAddImageDlg::kCancel);
        });
    EXPECT_EQ(RunAddImage(nullptr, layout), nullptr);
    EXPECT_EQ(layout.images.Size(), before);
}

} // namespace
