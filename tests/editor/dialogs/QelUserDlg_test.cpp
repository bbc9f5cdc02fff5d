#include "QelUserDlg.h"

#include "DialogDriver.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "PictureFiles.h"
#include "QELProg.h"
#include "QelWnd.h"
#include "ScriptedUiServices.h"
#include "UserButton.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class QelUserDlgTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A button whose up face shows the picture with this id.
    static TUserButton* PutButton(TUserPage& page, int32_t left, int32_t pictureId)
    {
        auto button = std::make_unique<TUserButton>();
        button->SetRect({left, 10, 40, 30});
        button->upFace.type = kFaceImage;
        button->upFace.param = pictureId;
        return static_cast<TUserButton*>(page.AppendObject(std::move(button)));
    }

    static int32_t AddPicture(TLayout& layout, const char16_t* name)
    {
        return layout.images.AddImage(name, std::make_unique<CImageBuffer>(PatternPicture(12, 8)))->id;
    }

    static void Drag(QWidget* canvas, QPoint from, QPoint to)
    {
        const auto send =
            [canvas](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
        {
            QMouseEvent event(type, QPointF(at), QPointF(canvas->mapToGlobal(at)), button, held,
                              Qt::NoModifier);
            QApplication::sendEvent(canvas, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    size_t AddedPictures(const TLayout& layout) const
    {
        size_t n = 0;
        for (const auto& entry : layout.images)
            n += entry->IsAdded() ? 1 : 0;
        return n;
    }

    QTemporaryDir m_dir;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
};

TEST_F(QelUserDlgTest, CancelKeepsWhatTheCanvasDidButNotTheName)
{
    TLayout layout;
    TUserPage page(u"Lobby", 10000);
    TUserButton* button = PutButton(page, 10, 1);
    {
        CQelUserDlg dlg(layout, page);
        dlg.show();
        EXPECT_EQ(Text(&dlg, CQelUserDlg::kPageName), QStringLiteral("Lobby"));
        Drag(dlg.Canvas(), {20, 20}, {50, 40});
        Type(&dlg, CQelUserDlg::kPageName, QStringLiteral("Reception"));
        Click(&dlg, CQelUserDlg::kCancel);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(button->Rect(), (TObjectRect{40, 30, 40, 30}));
    EXPECT_EQ(page.name, u"Lobby");

    CQelUserDlg dlg(layout, page);
    Type(&dlg, CQelUserDlg::kPageName, QStringLiteral("Reception"));
    Click(&dlg, CQelUserDlg::kSave);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(page.name, u"Reception");
    EXPECT_EQ(dlg.PageName(), u"Reception");
}

TEST_F(QelUserDlgTest, ExportAndImportCarryThePicturesThePageUses)
{
    TLayout layout;
    const int32_t logo = AddPicture(layout, u"Logo");
    TUserPage page(u"Lobby", 10000);
    PutButton(page, 10, logo);
    PutButton(page, 60, logo);

    CQelUserDlg dlg(layout, page);
    Type(&dlg, CQelUserDlg::kPageName, QStringLiteral("Typed, not saved"));
    m_ui.saveAnswers.push_back(Path(QStringLiteral("lobby")));
    Click(&dlg, CQelUserDlg::kExport);
    EXPECT_EQ(m_ui.fileDialogs.back().filter,
              QStringLiteral("QEL-1 User Page (*.qup)|*.qup|All Files (*.*)|*.*||"));
    EXPECT_EQ(m_ui.fileDialogs.back().defaultExt, QStringLiteral(".qup"));

    TUserPageFileContents contents;
    ASSERT_TRUE(ReadUserPageFile(Path(QStringLiteral("lobby.qup")).toStdString(), contents).ok);
    EXPECT_EQ(contents.page->name, u"Lobby") << "the saved name, not the typed one";
    EXPECT_EQ(contents.pictures.size(), 2u) << "a picture used twice is written twice";

    // Into another layout, whose own picture 10000 is something else.
    TLayout other;
    AddPicture(other, u"Other");
    TUserPage target(u"Empty", 10003);
    CQelUserDlg into(other, target);
    into.Canvas()->SetSelected(nullptr);
    m_ui.openAnswers.push_back(Path(QStringLiteral("lobby.qup")));
    Click(&into, CQelUserDlg::kImport);
    EXPECT_EQ(AddedPictures(other), 2u) << "the two copies match each other: one picture comes in";
    ASSERT_EQ(target.objects.size(), 2u);
    const int32_t merged = static_cast<TUserButton&>(*target.objects[0]).upFace.param;
    EXPECT_NE(merged, 10000);
    EXPECT_EQ(static_cast<TUserButton&>(*target.objects[1]).upFace.param, merged);
    EXPECT_EQ(Text(&into, CQelUserDlg::kPageName), QStringLiteral("Lobby"));
    EXPECT_EQ(target.id, 10000) << "the page takes the id stored in the file";
    EXPECT_EQ(into.Canvas()->Selected(), nullptr);

    // Back into the layout it came from: every picture is already there.
    TUserPage again(u"Again", 10001);
    CQelUserDlg back(layout, again);
    m_ui.openAnswers.push_back(Path(QStringLiteral("lobby.qup")));
    Click(&back, CQelUserDlg::kImport);
    EXPECT_EQ(AddedPictures(layout), 1u);
    EXPECT_EQ(static_cast<TUserButton&>(*again.objects[0]).upFace.param, logo);
}

// Export then Import is how a page is copied: the copy must not take the
// original's id, or every hot spot would lead to the first of them.
TEST_F(QelUserDlgTest, ImportTakesTheFilesPageIdOnlyWhenNoOtherPageHasIt)
{
    TLayout layout;
    auto& lobby =
        static_cast<TUserPage&>(*layout.pages.InsertPage(std::make_unique<TUserPage>(u"Lobby", 10000)));
    auto& copy =
        static_cast<TUserPage&>(*layout.pages.InsertPage(std::make_unique<TUserPage>(u"Copy", 10001)));
    const QString file = Path(QStringLiteral("lobby.qup"));
    ASSERT_TRUE(ExportUserPage(layout, lobby, file.toStdString()).ok);

    struct
    {
        TUserPage& page;
        int32_t id;
    } cases[] = {{copy, 10001}, {lobby, 10000}};
    for (const auto& c : cases)
    {
        CQelUserDlg dlg(layout, c.page);
        m_ui.openAnswers.push_back(file);
        Click(&dlg, CQelUserDlg::kImport);
        EXPECT_EQ(c.page.name, u"Lobby");
        EXPECT_EQ(c.page.id, c.id);
    }
    // A new page, not in the list yet, likewise.
    TUserPage fresh(u"User Page", layout.pages.NextPageId());
    CQelUserDlg dlg(layout, fresh);
    m_ui.openAnswers.push_back(file);
    Click(&dlg, CQelUserDlg::kImport);
    EXPECT_EQ(fresh.id, 10002);
}

TEST_F(QelUserDlgTest, ImportDuringAddThenCancelKeepsTheMergedPictures)
{
    TLayout source;
    TUserPage page(u"Lobby", 10000);
    PutButton(page, 10, AddPicture(source, u"Logo"));
    ASSERT_TRUE(ExportUserPage(source, page, Path(QStringLiteral("lobby.qup")).toStdString()).ok);

    TLayout layout;
    CQELProg prog(layout);
    m_ui.menuAnswers.push_back(QStringLiteral("User Defined"));
    m_ui.openAnswers.push_back(Path(QStringLiteral("lobby.qup")));
    m_ui.dialogAnswers.push_back(
        [](QDialog& dlg)
        {
            Click(&dlg, CQelUserDlg::kImport);
            Click(&dlg, CQelUserDlg::kCancel);
        });
    Click(&prog, CQELProg::kAdd);
    EXPECT_TRUE(layout.pages.Empty());
    EXPECT_EQ(AddedPictures(layout), 1u);
}

TEST_F(QelUserDlgTest, FilesThatCannotBeImportedChangeNothingAndSaySo)
{
    TLayout layout;
    TUserPage source(u"From file", 10004);
    std::vector<uint8_t> good = StoreUserPage(layout, source);
    const auto write = [&](const QString& name, std::vector<uint8_t> bytes)
    {
        WriteBytes(Path(name), bytes.data(), static_cast<qint64>(bytes.size()));
        return Path(name);
    };
    std::vector<uint8_t> limit = good;
    limit.resize(kUserPageFileLimit, 0);
    std::vector<uint8_t> over = limit;
    over.push_back(0);
    std::vector<uint8_t> wrongMagic = good;
    wrongMagic[0] ^= 1;
    std::vector<uint8_t> damaged(good.begin(), good.begin() + 10);

    struct TCase
    {
        QString path;
        QString message; // empty: imported
    };
    const std::vector<TCase> cases{
        {write(QStringLiteral("limit.qup"), limit), {}},
        {write(QStringLiteral("over.qup"), over), QStringLiteral("over.qup is larger than 300000 bytes")},
        {write(QStringLiteral("magic.qup"), wrongMagic), QStringLiteral("Not a QEL-1 user page: magic.qup")},
        {write(QStringLiteral("damaged.qup"), damaged),
         QStringLiteral("damaged.qup is damaged and was not loaded")},
        {Path(QStringLiteral("missing.qup")), QStringLiteral("Could not open missing.qup: ")},
    };
    for (const TCase& c : cases)
    {
        TUserPage page(u"Lobby", 10000);
        PutButton(page, 10, 1);
        CQelUserDlg dlg(layout, page);
        m_ui.messages.clear();
        m_ui.openAnswers.push_back(c.path);
        Click(&dlg, CQelUserDlg::kImport);
        if (c.message.isEmpty())
        {
            EXPECT_TRUE(m_ui.messages.empty()) << c.path.toStdString();
            EXPECT_EQ(page.name, u"From file");
            continue;
        }
        ASSERT_EQ(m_ui.messages.size(), 1u) << c.path.toStdString();
        EXPECT_TRUE(m_ui.messages[0].text.startsWith(c.message)) << m_ui.messages[0].text.toStdString();
        EXPECT_EQ(page.name, u"Lobby");
        EXPECT_EQ(page.objects.size(), 1u);
    }

    // An export that cannot be written says so too, and leaves nothing behind.
    TUserPage page(u"Lobby", 10000);
    CQelUserDlg dlg(layout, page);
    m_ui.messages.clear();
    m_ui.saveAnswers.push_back(Path(QStringLiteral("no/such/folder/lobby.qup")));
    Click(&dlg, CQelUserDlg::kExport);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_TRUE(m_ui.messages[0].text.startsWith(QStringLiteral("Could not save lobby.qup: ")))
        << m_ui.messages[0].text.toStdString();
}

} // namespace
