#include "DialogDriver.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutEdits.h"
#include "LayoutHistory.h"
#include "MorvaneDlg.h"
#include "OpenFile.h"
#include "PanelSettings.h"
#include "QELProg.h"
#include "ScriptedUiServices.h"
#include "UserPage.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{

const QString kQuestion = QStringLiteral("The layout has changes that are not saved. Save them first?");
const QString kNoPort = QStringLiteral("/dev/qel-no-such-port");

// The main window on a document with its history, its recent templates kept
// in a file of the test's own.
struct TWindow
{
    explicit TWindow(const QTemporaryDir& dir)
    {
        TMainOptions options;
        options.ports = std::vector<std::string>{};
        options.preselect = kNoPort;
        options.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        dlg = std::make_unique<CMorvaneDlg>(layout, history, options);
    }

    // One step: the control name.
    void Change(const char16_t* name)
    {
        TPanelSettings settings = TPanelSettings::Of(layout);
        settings.controlName = name;
        history.Edits().SetSettings(settings);
    }
    void Menu(CScriptedUiServices& ui, const QString& answer)
    {
        ui.menuAnswers.push_back(answer);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), dlg->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(dlg.get(), &event);
    }
    COpenFile& File() const { return *dlg->OpenFile(); }
    QString Title() const { return dlg->windowTitle(); }

    TLayout layout;
    CLayoutHistory history{layout};
    std::unique_ptr<CMorvaneDlg> dlg;
};

class OpenFileTest : public ::testing::Test
{
public:
    OpenFileTest()
    {
        TLayout other;
        other.pages.InsertPage(std::make_unique<TUserPage>(u"Other", 10000));
        EXPECT_TRUE(SaveTemplateFile(other, Path(QStringLiteral("other.qel")).toStdString()).ok);
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    int Questions() const
    {
        int n = 0;
        for (const CScriptedUiServices::TMessage& m : m_ui.messages)
            n += m.text == kQuestion ? 1 : 0;
        return n;
    }
    static std::u16string SavedName(const QString& path)
    {
        TLayout saved;
        return LoadTemplateFile(saved, path.toStdString()) ? saved.controlName : u"(not saved)";
    }

    QTemporaryDir m_dir;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
};

} // namespace

// The title names the file and marks unsaved changes; the file is the one
// loaded or saved last, and the recent templates remember both.
TEST_F(OpenFileTest, TheTitleFollowsTheFileAndItsChanges)
{
    TWindow w(m_dir);
    EXPECT_EQ(w.Title(), QStringLiteral("QELMorvane"));
    w.Change(u"Lobby");
    EXPECT_EQ(w.Title(), QStringLiteral("Untitled* \u2014 QELMorvane"));

    m_ui.saveAnswers.push_back(Path(QStringLiteral("lobby")));
    PressKeys(w.dlg.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(w.Title(), QStringLiteral("lobby.qel \u2014 QELMorvane"));
    EXPECT_EQ(SavedName(Path(QStringLiteral("lobby.qel"))), u"Lobby");
    w.Change(u"Lobby 2");
    EXPECT_EQ(w.Title(), QStringLiteral("lobby.qel* \u2014 QELMorvane"));
    w.history.Undo();
    EXPECT_EQ(w.Title(), QStringLiteral("lobby.qel \u2014 QELMorvane")) << "back where it was saved";
    w.history.Redo();
    const size_t dialogs = m_ui.fileDialogs.size();
    w.Menu(m_ui, QStringLiteral("Save Template"));
    EXPECT_EQ(m_ui.fileDialogs.size(), dialogs) << "the open file needs no name";
    EXPECT_EQ(SavedName(Path(QStringLiteral("lobby.qel"))), u"Lobby 2");
    EXPECT_EQ(w.Title(), QStringLiteral("lobby.qel \u2014 QELMorvane"));

    m_ui.openAnswers.push_back(Path(QStringLiteral("other.qel")));
    w.Menu(m_ui, QStringLiteral("Open Template..."));
    EXPECT_EQ(w.Title(), QStringLiteral("other.qel \u2014 QELMorvane"));
    EXPECT_EQ(w.layout.pages.Size(), 1u);
    EXPECT_EQ(m_ui.menusShown.back(), QStringLiteral("Open Template...,Save Template,Save Template As...,"
                                                     "Recent Templates,Restore Previous Layout...,Find Panel,Upload to Several Panels...,About QELMorvane..."));
    EXPECT_EQ(w.File().Recent().Entries(),
              (QStringList{Path(QStringLiteral("other.qel")), Path(QStringLiteral("lobby.qel"))}));

    // Save As proposes the open file; the programming dialog's Save too.
    m_ui.saveAnswers.push_back(Path(QStringLiteral("copy.qel")));
    w.Menu(m_ui, QStringLiteral("Save Template As..."));
    EXPECT_EQ(m_ui.fileDialogs.back().initialName, Path(QStringLiteral("other.qel")));
    m_ui.dialogAnswers.push_back([](QDialog& prog) { Click(&prog, CQELProg::kSave); });
    Click(w.dlg.get(), 1003);
    EXPECT_EQ(m_ui.fileDialogs.back().initialName, Path(QStringLiteral("copy.qel")));

    // A recent template opens again, after the question when there are changes.
    w.Change(u"Unsaved");
    m_ui.messageAnswers.push_back(EMsgResult::Discard);
    w.Menu(m_ui, QStringLiteral("Recent Templates/3 ") + Path(QStringLiteral("lobby.qel")));
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(w.Title(), QStringLiteral("lobby.qel \u2014 QELMorvane"));
    EXPECT_EQ(w.layout.controlName, u"Lobby 2");

    // A file that cannot be loaded or saved: one message, nothing else changes.
    w.Change(u"Unsaved");
    const std::vector<uint8_t> before = w.layout.SaveToBytes();
    QFile junk(Path(QStringLiteral("junk.qel")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a template");
    junk.close();
    const size_t messages = m_ui.messages.size();
    m_ui.messageAnswers.push_back(EMsgResult::Discard);
    m_ui.openAnswers.push_back(junk.fileName());
    w.Menu(m_ui, QStringLiteral("Open Template..."));
    m_ui.saveAnswers.push_back(Path(QStringLiteral("no/such/folder.qel")));
    w.Menu(m_ui, QStringLiteral("Save Template As..."));
    EXPECT_EQ(m_ui.messages.size(), messages + 3) << "the question, then one message each";
    EXPECT_EQ(w.layout.SaveToBytes(), before);
    EXPECT_EQ(w.Title(), QStringLiteral("lobby.qel* \u2014 QELMorvane"));
}

// Every way of dropping the layout asks first when it holds unsaved changes:
// Save (asking for a name, the file having none) or Discard go on, Cancel and
// a save given no name stop; without changes nothing is asked.
// A panel's backup comes back as a layout of no file: Save asks for a name,
// so the backup is never written over, and it stays out of the recent list.
TEST_F(OpenFileTest, ARestoredBackupBelongsToNoFile)
{
    TWindow w(m_dir);
    const QString backup = Path(QStringLiteral("other.qel"));
    QFile original(backup);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();

    w.Change(u"Unsaved");
    m_ui.messageAnswers.push_back(EMsgResult::Discard);
    m_ui.openAnswers.push_back(backup);
    w.Menu(m_ui, QStringLiteral("Restore Previous Layout..."));
    EXPECT_EQ(Questions(), 1) << "the unsaved change is asked about first";
    EXPECT_EQ(w.layout.pages.Size(), 1u);
    EXPECT_TRUE(w.File().Path().isEmpty());
    EXPECT_EQ(w.Title(), QStringLiteral("QELMorvane"));
    EXPECT_TRUE(w.File().Recent().Entries().isEmpty());

    w.Change(u"Restored and changed");
    m_ui.saveAnswers.push_back(Path(QStringLiteral("restored.qel")));
    const size_t dialogs = m_ui.fileDialogs.size();
    PressKeys(w.dlg.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(m_ui.fileDialogs.size(), dialogs + 1) << "Save asks for a name";
    EXPECT_EQ(SavedName(Path(QStringLiteral("restored.qel"))), u"Restored and changed");
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), bytes) << "the backup is as it was";
}

TEST_F(OpenFileTest, TheQuestionComesBeforeAnythingDropsChanges)
{
    struct TAction
    {
        const char* name;
        // Does the action; whether it went on.
        std::function<bool(OpenFileTest&, TWindow&)> run;
    };
    const auto couldNotOpen = [](OpenFileTest& t)
    {
        for (const CScriptedUiServices::TMessage& m : t.m_ui.messages)
            if (m.text.startsWith(QStringLiteral("Could not open ") + kNoPort))
                return true;
        return false;
    };
    const auto otherLoaded = [](TWindow& w)
    { return w.layout.pages.Size() == 1 && w.layout.pages.Head()->name == u"Other"; };
    const std::vector<TAction> actions{
        {"Exit",
         [](OpenFileTest&, TWindow& w)
         {
             w.dlg->show();
             Click(w.dlg.get(), 1);
             return !w.dlg->isVisible();
         }},
        {"Escape",
         [](OpenFileTest&, TWindow& w)
         {
             w.dlg->show();
             QTest::keyClick(w.dlg.get(), Qt::Key_Escape);
             return !w.dlg->isVisible();
         }},
        {"close box",
         [](OpenFileTest&, TWindow& w)
         {
             w.dlg->show();
             w.dlg->close();
             return !w.dlg->isVisible();
         }},
        {"Connect",
         [couldNotOpen](OpenFileTest& t, TWindow& w)
         {
             Click(w.dlg.get(), 1001);
             return couldNotOpen(t);
         }},
        {"Enter in the port box",
         [couldNotOpen](OpenFileTest& t, TWindow& w)
         {
             w.dlg->show();
             QTest::keyClick(DlgItem<QComboBox>(w.dlg.get(), 1000)->lineEdit(), Qt::Key_Return);
             EXPECT_TRUE(w.dlg->isVisible()) << "Enter there never means Exit";
             return couldNotOpen(t);
         }},
        {"Load",
         [otherLoaded](OpenFileTest& t, TWindow& w)
         {
             t.m_ui.openAnswers.push_back(t.Path(QStringLiteral("other.qel")));
             t.m_ui.dialogAnswers.push_back([](QDialog& prog) { Click(&prog, CQELProg::kLoad); });
             Click(w.dlg.get(), 1003);
             return otherLoaded(w);
         }},
        {"Open Template",
         [otherLoaded](OpenFileTest& t, TWindow& w)
         {
             t.m_ui.openAnswers.push_back(t.Path(QStringLiteral("other.qel")));
             w.Menu(t.m_ui, QStringLiteral("Open Template..."));
             return otherLoaded(w);
         }},
    };
    struct TAnswer
    {
        const char* name;
        bool changed;
        std::optional<EMsgResult> answer;
        std::optional<QString> saveAs;
        bool goesOn;
    };
    const TAnswer answers[] = {
        {"no changes", false, std::nullopt, std::nullopt, true},
        {"Discard", true, EMsgResult::Discard, std::nullopt, true},
        {"Cancel", true, EMsgResult::Cancel, std::nullopt, false},
        {"Save", true, EMsgResult::Save, QStringLiteral("kept.qel"), true},
        {"Save given no name", true, EMsgResult::Save, std::nullopt, false},
    };
    for (const TAction& action : actions)
    {
        for (const TAnswer& a : answers)
        {
            SCOPED_TRACE(std::string(action.name) + ", " + a.name);
            m_ui.messages.clear();
            QFile::remove(Path(QStringLiteral("kept.qel")));
            TWindow w(m_dir);
            if (a.changed)
                w.Change(u"Changed");
            if (a.answer)
                m_ui.messageAnswers.push_back(*a.answer);
            m_ui.saveAnswers.push_back(a.saveAs ? std::optional(Path(*a.saveAs)) : std::nullopt);
            EXPECT_EQ(action.run(*this, w), a.goesOn);
            EXPECT_EQ(Questions(), a.changed ? 1 : 0);
            EXPECT_EQ(QFileInfo::exists(Path(QStringLiteral("kept.qel"))), a.saveAs.has_value());
            if (a.saveAs)
            {
                EXPECT_EQ(SavedName(Path(*a.saveAs)), u"Changed");
            }
            if (!a.goesOn)
            {
                EXPECT_EQ(w.layout.controlName, u"Changed") << "the layout stays";
            }
            m_ui.messageAnswers.clear();
            m_ui.saveAnswers.clear();
            m_ui.openAnswers.clear();
            m_ui.dialogAnswers.clear();
        }
    }
}
