#include "QELProg.h"

#include "Btn8Ctrl.h"
#include "Btn8Dlg.h"
#include "DialogDriver.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutHistory.h"
#include "PictureFiles.h"
#include "QelUserDlg.h"
#include "ScriptedUiServices.h"
#include "UserButton.h"
#include "UserPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class QELProgTest : public ::testing::Test
{
protected:
    QELProgTest()
    {
        for (const char16_t* name : {u"Lobby", u"Bar", u"Kitchen"})
            m_layout.pages.InsertPage(std::make_unique<TUserPage>(name, m_layout.pages.NextPageId()));
    }

    static QListWidget* List(const QWidget* dlg) { return DlgItem<QListWidget>(dlg, CQELProg::kPageList); }
    static QStringList Shown(const QWidget* dlg)
    {
        QStringList out;
        for (int i = 0; i < List(dlg)->count(); ++i)
            out << List(dlg)->item(i)->text();
        return out;
    }
    QStringList Pages() const
    {
        QStringList out;
        for (const auto& page : m_layout.pages)
            out << QString::fromStdU16String(page->name);
        return out;
    }
    static void Select(const QWidget* dlg, int row)
    {
        List(dlg)->setCurrentRow(row);
        List(dlg)->item(row)->setSelected(true);
    }
    // Add > "User Defined", the user page dialog saving the page under a name.
    void AddUserPage(CQELProg& dlg, const QString& name)
    {
        m_ui.menuAnswers.push_back(QStringLiteral("User Defined"));
        m_ui.dialogAnswers.push_back(
            [name](QDialog& user)
            {
                Type(&user, CQelUserDlg::kPageName, name);
                Click(&user, CQelUserDlg::kSave);
            });
        Click(&dlg, CQELProg::kAdd);
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    TLayout m_layout;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
    QTemporaryDir m_dir;
};

TEST_F(QELProgTest, AddPutsThePageBelowTheSelectionOrAtTheEnd)
{
    TLayout empty;
    {
        CQELProg dlg(empty);
        AddUserPage(dlg, QStringLiteral("First"));
        EXPECT_EQ(Shown(&dlg), QStringList({"First"}));
        ASSERT_EQ(empty.pages.Size(), 1u);
        EXPECT_EQ(empty.pages.Head()->id, 10000);
        EXPECT_EQ(List(&dlg)->currentRow(), 0);
    }

    CQELProg dlg(m_layout);
    AddUserPage(dlg, QStringLiteral("At the end"));
    Select(&dlg, 0);
    AddUserPage(dlg, QStringLiteral("Below Lobby"));
    EXPECT_EQ(Shown(&dlg), QStringList({"Lobby", "Below Lobby", "Bar", "Kitchen", "At the end"}));
    EXPECT_EQ(Pages(), Shown(&dlg)) << "the list and the page list agree";
    EXPECT_EQ(List(&dlg)->currentRow(), 1) << "the new entry is selected";

    // An eight-button page, and a Cancel that adds nothing.
    m_ui.menuAnswers.push_back(QStringLiteral("8 Button 2 Column"));
    m_ui.dialogAnswers.push_back([](QDialog& b) { Click(&b, CBtn8Dlg::kOk); });
    Click(&dlg, CQELProg::kAdd);
    EXPECT_EQ(Pages()[2], QStringLiteral("8 Button"));
    EXPECT_EQ(m_layout.pages.At(2)->id, -1);
    m_ui.menuAnswers.push_back(QStringLiteral("User Defined"));
    Click(&dlg, CQELProg::kAdd);
    m_ui.menuAnswers.push_back(QString());
    Click(&dlg, CQELProg::kAdd);
    EXPECT_EQ(m_layout.pages.Size(), 6u);
    EXPECT_EQ(Pages(), Shown(&dlg));
    EXPECT_EQ(m_ui.menusShown.back(),
              QStringLiteral("8 Button 2 Column,User Defined,Duplicate Selected Page"));
}

// Duplicate (the Add menu's item or Ctrl+D) puts a copy with an id of its own
// and objects of its own after the selected page, one step each.
TEST_F(QELProgTest, DuplicateCopiesEitherKindAfterTheSelectedPage)
{
    auto* lobby = static_cast<TUserPage*>(m_layout.pages.Head());
    auto button = std::make_unique<TUserButton>();
    button->SetRect({10, 20, 30, 40});
    lobby->AppendObject(std::move(button));
    m_layout.pages.InsertPage(std::make_unique<CBtn8Ctrl>(u"Eight"));
    CLayoutHistory history(m_layout);
    CQELProg dlg(m_layout, history);

    m_ui.menuAnswers.push_back(QStringLiteral("Duplicate Selected Page"));
    Click(&dlg, CQELProg::kAdd);
    EXPECT_EQ(m_layout.pages.Size(), 4u) << "nothing selected, nothing to copy";

    Select(&dlg, 0);
    m_ui.menuAnswers.push_back(QStringLiteral("Duplicate Selected Page"));
    Click(&dlg, CQELProg::kAdd);
    Select(&dlg, 4);
    QTest::keyClick(List(&dlg), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Pages(), QStringList({"Lobby", "Lobby copy", "Bar", "Kitchen", "Eight", "Eight copy"}));
    EXPECT_EQ(Shown(&dlg), Pages());
    EXPECT_EQ(List(&dlg)->currentRow(), 5) << "the copy is selected";
    EXPECT_EQ(m_layout.pages.At(5)->type, kPageEightButton);
    EXPECT_EQ(history.Stack().count(), 2);

    auto* copy = static_cast<TUserPage*>(m_layout.pages.At(1));
    EXPECT_EQ(copy->id, 10003) << "a fresh id";
    ASSERT_EQ(copy->objects.size(), 1u);
    EXPECT_NE(copy->objects[0].get(), lobby->objects[0].get());
    copy->objects[0]->left = 99;
    EXPECT_EQ(lobby->objects[0]->left, 10) << "objects of its own";

    history.Undo();
    history.Undo();
    EXPECT_EQ(Pages(), QStringList({"Lobby", "Bar", "Kitchen", "Eight"}));
    EXPECT_EQ(Shown(&dlg), Pages());
}

// F2 edits the selected page's name in its row, either kind; Enter keeps it
// as one step, Escape and an empty name keep the old one.
TEST_F(QELProgTest, F2RenamesThePageInItsRow)
{
    m_layout.pages.InsertPage(std::make_unique<CBtn8Ctrl>(u"Eight"));
    m_layout.defaultPage = 10000;
    CLayoutHistory history(m_layout);
    CQELProg dlg(m_layout, history);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    const auto rename = [&](int row, const QString& text, Qt::Key end)
    {
        Select(&dlg, row);
        QTest::keyClick(List(&dlg), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << "an editor in the row";
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        KeyClicks(editor, text);
        QTest::keyClick(editor, end);
        // The editor hands its text over once the key press is done.
        QApplication::processEvents();
    };
    rename(0, QStringLiteral("Hall"), Qt::Key_Return);
    rename(3, QStringLiteral("Eights"), Qt::Key_Return);
    rename(1, QStringLiteral("Never"), Qt::Key_Escape);
    rename(2, QString(), Qt::Key_Return);
    EXPECT_EQ(Pages(), QStringList({"Hall", "Bar", "Kitchen", "Eights"}));
    EXPECT_EQ(Shown(&dlg), QStringList({"*** Hall ***", "Bar", "Kitchen", "Eights"}));
    EXPECT_EQ(history.Stack().count(), 2);
    history.Undo();
    history.Undo();
    EXPECT_EQ(Pages(), QStringList({"Lobby", "Bar", "Kitchen", "Eight"}));
}

TEST_F(QELProgTest, DefaultMarkersFollowSetDefaultAndTheNextRefill)
{
    CQELProg dlg(m_layout);
    Select(&dlg, 1);
    Click(&dlg, CQELProg::kSetDefault);
    EXPECT_EQ(m_layout.defaultPage, 10001);
    EXPECT_EQ(Shown(&dlg), QStringList({"Lobby", "*** Bar ***", "Kitchen"}));
    EXPECT_EQ(List(&dlg)->currentRow(), -1) << "a refill selects nothing";

    Select(&dlg, 1);
    Click(&dlg, CQELProg::kMoveUp);
    EXPECT_EQ(Shown(&dlg), QStringList({"Bar", "Lobby", "Kitchen"}))
        << "the plain name until the next refill";
    EXPECT_EQ(Pages(), Shown(&dlg));
    EXPECT_EQ(List(&dlg)->currentRow(), 0);
    Click(&dlg, CQELProg::kMoveUp);
    EXPECT_EQ(Pages(), QStringList({"Bar", "Lobby", "Kitchen"})) << "the first entry does not move up";

    Select(&dlg, 0);
    Click(&dlg, CQELProg::kSetDefault);
    EXPECT_EQ(m_layout.defaultPage, -1) << "twice on the same page clears it";
    EXPECT_EQ(Shown(&dlg), QStringList({"Bar", "Lobby", "Kitchen"}));

    Select(&dlg, 2);
    Click(&dlg, CQELProg::kMoveDown);
    EXPECT_EQ(Pages(), QStringList({"Bar", "Lobby", "Kitchen"})) << "the last entry does not move down";
    Select(&dlg, 0);
    Click(&dlg, CQELProg::kMoveDown);
    EXPECT_EQ(Pages(), QStringList({"Lobby", "Bar", "Kitchen"}));
    EXPECT_EQ(Shown(&dlg), Pages());

    Click(&dlg, CQELProg::kSetDefault);
    ASSERT_EQ(m_layout.defaultPage, 10001);
    Select(&dlg, 1);
    Click(&dlg, CQELProg::kRemove);
    EXPECT_EQ(Pages(), QStringList({"Lobby", "Kitchen"}));
    EXPECT_EQ(Shown(&dlg), Pages()) << "no markers: the default page is gone";
    EXPECT_EQ(m_layout.defaultPage, 10001) << "and its id stays";
    EXPECT_EQ(List(&dlg)->currentRow(), -1);
}

TEST_F(QELProgTest, ClearAllAsksFirst)
{
    m_layout.images.AddImage(u"Logo", std::make_unique<CImageBuffer>(PatternPicture(4, 4)));
    m_layout.defaultPage = 10001;
    m_layout.controlName = u"Hall";
    const size_t pictures = m_layout.images.Size();
    CQELProg dlg(m_layout);

    m_ui.messageAnswers.push_back(EMsgResult::No);
    Click(&dlg, CQELProg::kClearAll);
    EXPECT_EQ(m_ui.messages.back().caption, QStringLiteral("Clear All Entries"));
    EXPECT_EQ(m_ui.messages.back().text,
              QStringLiteral("This will clear all entries from this control.\nDo you Want to continue ?"));
    EXPECT_EQ(m_layout.pages.Size(), 3u);
    EXPECT_EQ(m_layout.images.Size(), pictures);

    m_ui.messageAnswers.push_back(EMsgResult::Yes);
    Click(&dlg, CQELProg::kClearAll);
    EXPECT_TRUE(m_layout.pages.Empty());
    EXPECT_EQ(List(&dlg)->count(), 0);
    EXPECT_EQ(m_layout.images.Size(), pictures - 1) << "only the built-in pictures stay";
    EXPECT_EQ(m_layout.defaultPage, 10001);
    EXPECT_EQ(m_layout.controlName, u"Hall");
}

// Settings typed in the dialog reach the document on OK, and on Save, which
// writes what the dialog shows, as one step; Cancel alone drops them.
TEST_F(QELProgTest, SettingsReachTheDocumentOnOkOrSave)
{
    m_layout.controlName = u"Hall";
    {
        CQELProg dlg(m_layout);
        Type(&dlg, CQELProg::kControlName, QStringLiteral("Lounge"));
        Click(&dlg, CQELProg::kCancel);
    }
    EXPECT_EQ(m_layout.controlName, u"Hall");
    {
        CLayoutHistory history(m_layout);
        CQELProg dlg(m_layout, history);
        EXPECT_EQ(Text(&dlg, CQELProg::kControlName), QStringLiteral("Hall"));
        Type(&dlg, CQELProg::kControlName, QStringLiteral("Foyer"));
        m_ui.saveAnswers.push_back(Path(QStringLiteral("saved")));
        Click(&dlg, CQELProg::kSave);
        m_ui.saveAnswers.push_back(Path(QStringLiteral("again")));
        Click(&dlg, CQELProg::kSave);
        EXPECT_EQ(history.Stack().count(), 1);
        EXPECT_EQ(history.UndoText(), QStringLiteral("Settings"));
        Click(&dlg, CQELProg::kCancel);
    }
    EXPECT_EQ(m_layout.controlName, u"Foyer") << "saved, so kept";
    TLayout saved;
    ASSERT_TRUE(LoadTemplateFile(saved, Path(QStringLiteral("saved.qel")).toStdString()).ok);
    EXPECT_EQ(saved.controlName, u"Foyer") << "Save writes what the dialog shows";

    {
        CQELProg dlg(m_layout);
        DlgItem<QCheckBox>(&dlg, CQELProg::kSleepEnabled)->setChecked(true);
        Type(&dlg, CQELProg::kTimeout, QStringLiteral("0"));
        Type(&dlg, CQELProg::kManualBrightness, QStringLiteral("55"));
        DlgItem<QCheckBox>(&dlg, CQELProg::kAudibleFeedback)->setChecked(false);
        Type(&dlg, CQELProg::kSecurityPin, QStringLiteral("4711"));
        Click(&dlg, CQELProg::kOk);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(m_layout.sleepTimeout, 0);
    EXPECT_EQ(m_layout.manualBrightness, 55);
    EXPECT_EQ(m_layout.audibleFeedback, 0);
    EXPECT_EQ(m_layout.securityPin, u"4711");
    CQELProg again(m_layout);
    EXPECT_FALSE(DlgItem<QCheckBox>(&again, CQELProg::kSleepEnabled)->isChecked());
    EXPECT_EQ(Text(&again, CQELProg::kManualBrightness), QStringLiteral("55"));
}

TEST_F(QELProgTest, OkAndSaveRefuseWhatIsNoIntegerOrOutOfRange)
{
    struct TCase
    {
        QString timeout;
        QString brightness;
        QString message;
        int focus;
    };
    const std::vector<TCase> cases{
        {"30", "0", "Enter an integer between 1 and 100.", CQELProg::kManualBrightness},
        {"30", "101", "Enter an integer between 1 and 100.", CQELProg::kManualBrightness},
        {"30", "bright", "Enter an integer.", CQELProg::kManualBrightness},
        {"half", "101", "Enter an integer.", CQELProg::kTimeout},
        {"99999999999", "50", "Enter an integer.", CQELProg::kTimeout},
    };
    for (const int button : {CQELProg::kOk, CQELProg::kSave})
        for (const TCase& c : cases)
        {
            SCOPED_TRACE(button == CQELProg::kOk ? "OK" : "Save");
            CQELProg dlg(m_layout);
            dlg.show();
            QApplication::setActiveWindow(&dlg);
            DlgItem<QCheckBox>(&dlg, CQELProg::kSleepEnabled)->setChecked(true);
            Type(&dlg, CQELProg::kTimeout, c.timeout);
            Type(&dlg, CQELProg::kManualBrightness, c.brightness);
            m_ui.messages.clear();
            m_ui.saveAnswers.push_back(Path(QStringLiteral("never")));
            Click(&dlg, button);
            ASSERT_EQ(m_ui.messages.size(), 1u) << c.brightness.toStdString();
            EXPECT_EQ(m_ui.messages[0].text, c.message);
            EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open";
            EXPECT_EQ(QApplication::focusWidget(), DlgItem<QWidget>(&dlg, c.focus));
            EXPECT_EQ(m_layout.sleepTimeout, 0);
            EXPECT_EQ(m_layout.manualBrightness, 100);
            EXPECT_TRUE(m_ui.fileDialogs.empty()) << "nothing is saved";
            m_ui.saveAnswers.clear();
            Click(&dlg, CQELProg::kCancel);
        }
}

TEST_F(QELProgTest, LoadTakesTemplatesUpToTheLimitAndSaysWhyOthersAreRefused)
{
    TLayout source;
    source.controlName = u"From file";
    source.pages.InsertPage(std::make_unique<TUserPage>(u"Loaded", 10000));
    ASSERT_TRUE(SaveTemplateFile(source, Path(QStringLiteral("t.qel")).toStdString()).ok);
    QFile file(Path(QStringLiteral("t.qel")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    bytes.resize(static_cast<qsizetype>(kTemplateFileLimit), '\0');
    WriteBytes(Path(QStringLiteral("limit.qel")), bytes.data(), bytes.size());
    bytes.append('\0');
    WriteBytes(Path(QStringLiteral("over.qel")), bytes.data(), bytes.size());

    CQELProg dlg(m_layout);
    m_ui.openAnswers.push_back(Path(QStringLiteral("over.qel")));
    Click(&dlg, CQELProg::kLoad);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, QStringLiteral("over.qel is larger than 500000 bytes"));
    EXPECT_EQ(Pages(), QStringList({"Lobby", "Bar", "Kitchen"}));

    m_ui.openAnswers.push_back(Path(QStringLiteral("limit.qel")));
    Click(&dlg, CQELProg::kLoad);
    EXPECT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(Shown(&dlg), QStringList({"Loaded"}));
    EXPECT_EQ(Text(&dlg, CQELProg::kControlName), QStringLiteral("From file"));
    EXPECT_EQ(m_ui.fileDialogs.back().filter,
              QStringLiteral("QEL-1 Template Files (*.qel)|*.qel|All Files (*.*)|*.*||"));
}

TEST_F(QELProgTest, SaveKeepsTheOldFileWhenTheLayoutNoLongerFits)
{
    ASSERT_TRUE(SaveTemplateFile(m_layout, Path(QStringLiteral("keep.qel")).toStdString()).ok);
    const qint64 size = QFileInfo(Path(QStringLiteral("keep.qel"))).size();
    // 540000 bytes of page names (the settings on screen are saved too, and an
    // edit holds no such control name).
    for (int i = 0; i < 9; ++i)
        m_layout.pages.InsertPage(
            std::make_unique<TUserPage>(std::u16string(30000, u'x'), m_layout.pages.NextPageId()));
    CQELProg dlg(m_layout);
    m_ui.saveAnswers.push_back(Path(QStringLiteral("keep.qel")));
    Click(&dlg, CQELProg::kSave);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_TRUE(
        m_ui.messages[0].text.startsWith(QStringLiteral("Could not save keep.qel: the layout is larger")))
        << m_ui.messages[0].text.toStdString();
    EXPECT_EQ(QFileInfo(Path(QStringLiteral("keep.qel"))).size(), size);
}

} // namespace
