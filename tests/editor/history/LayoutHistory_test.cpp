#include "LayoutHistory.h"
#include "LayoutEdits.h"

#include "AddImageDlg.h"
#include "Btn8Ctrl.h"
#include "Btn8Dlg.h"
#include "ButtonAddDlg.h"
#include "DialogDriver.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PictureFiles.h"
#include "QELProg.h"
#include "QelFaceDlg.h"
#include "QelUserDlg.h"
#include "QelWnd.h"
#include "ScriptedUiServices.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace
{

// A document with its history: a page of each kind of object, an empty
// page, an eight-button page, an added picture and an event.
struct TDocument
{
    TDocument()
    {
        logo = layout.images.AddImage(u"Logo", std::make_unique<CImageBuffer>(PatternPicture(12, 8)))->id;
        lobby = AddPage(u"Lobby");
        auto button = std::make_unique<TUserButton>();
        button->upFace = {kFaceImage, logo};
        button->downText = MakeTextField(u"LOBBY ON");
        Put(std::move(button), {10, 10, 60, 30});
        auto image = std::make_unique<TUserImage>();
        image->face = {kFaceColour, kColourSingle, 0, 0x00336699};
        Put(std::move(image), {100, 10, 50, 40});
        Put(std::make_unique<TUserLevel>(), {200, 10, 45, 130});
        Put(std::make_unique<TUserHotspot>(), {10, 100, 80, 40});
        bar = AddPage(u"Bar");
        auto eightPage = std::make_unique<CBtn8Ctrl>(u"8 Button");
        eight = eightPage.get();
        layout.pages.InsertPage(std::move(eightPage));
        layout.eventTexts[0] = MakeTextField(u"LIGHTS 100");
        canvas = std::make_unique<CQelWnd>(history, *lobby);
        canvas->resize(320, 240);
    }

    TUserPage* AddPage(const char16_t* name)
    {
        return static_cast<TUserPage*>(
            layout.pages.InsertPage(std::make_unique<TUserPage>(name, layout.pages.NextPageId())));
    }
    void Put(std::unique_ptr<TUserObject> object, const TObjectRect& rect)
    {
        object->SetRect(rect);
        lobby->AppendObject(std::move(object));
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, QPoint at)
    {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(at), QPointF(canvas->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas.get(), &event);
    }
    void Drag(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, from);
        Mouse(QEvent::MouseMove, Qt::NoButton, to);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, to);
    }
    void Menu(CScriptedUiServices& ui, QPoint at, const QString& answer)
    {
        ui.menuAnswers.push_back(answer);
        Mouse(QEvent::MouseButtonPress, Qt::RightButton, at);
        Mouse(QEvent::MouseButtonRelease, Qt::RightButton, at);
    }

    std::vector<uint8_t> Bytes() { return layout.SaveToBytes(); }
    int Steps() const { return history.Stack().count(); }

    TLayout layout;
    CLayoutHistory history{layout};
    TUserPage* lobby = nullptr;
    TUserPage* bar = nullptr;
    CBtn8Ctrl* eight = nullptr;
    int32_t logo = 0;
    std::unique_ptr<CQelWnd> canvas;
};

class LayoutHistoryTest : public ::testing::Test
{
public:
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A user page file of a page whose button shows a picture of its own.
    QString PageFile()
    {
        TLayout source;
        const int32_t picture =
            source.images.AddImage(u"Terrace", std::make_unique<CImageBuffer>(PatternPicture(9, 7)))->id;
        TUserPage page(u"Terrace", 10000);
        auto button = std::make_unique<TUserButton>();
        button->SetRect({30, 30, 40, 40});
        button->upFace = {kFaceImage, picture};
        page.AppendObject(std::move(button));
        const QString path = Path(QStringLiteral("Lobby.qup"));
        EXPECT_TRUE(ExportUserPage(source, page, path.toStdString()).ok);
        return path;
    }

    // The add-image dialog answered with a picture file and a name.
    void AnswerAddImage(const QString& name)
    {
        const QString png = Path(name + QStringLiteral(".png"));
        EXPECT_TRUE(WritePng(png, PatternPicture(20, 10)));
        m_ui.openAnswers.push_back(png);
        m_ui.dialogAnswers.push_back(
            [name](QDialog& dlg)
            {
                Click(&dlg, CAddImageDlg::kBrowse);
                Type(&dlg, CAddImageDlg::kDescription, name);
                Click(&dlg, CAddImageDlg::kOk);
            });
    }

    static QListWidget* List(const QWidget* dlg) { return DlgItem<QListWidget>(dlg, CQELProg::kPageList); }
    static void Select(const QWidget* dlg, int row)
    {
        List(dlg)->setCurrentRow(row);
        List(dlg)->item(row)->setSelected(true);
    }

    QTemporaryDir m_dir;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
};

// Every kind of change an installer makes, made as the installer makes it,
// is one step with its name; undone, the whole document (pages, pictures,
// settings, events) is byte for byte what it was, and redone what it became.
TEST_F(LayoutHistoryTest, EveryChangeIsOneStepThatUndoesAndRedoesByteForByte)
{
    struct TCase
    {
        const char* step;
        std::function<void(LayoutHistoryTest&, TDocument&)> change;
    };
    const std::vector<TCase> cases{
        {"Add Button",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             t.m_ui.dialogAnswers.push_back([](QDialog& dlg) { Click(&dlg, CButtonAddDlg::kOk); });
             d.Menu(t.m_ui, {150, 180}, QStringLiteral("Add/Button"));
         }},
        {"Delete Hot Spot",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             t.m_ui.messageAnswers.push_back(EMsgResult::Yes);
             d.Menu(t.m_ui, {20, 110}, QStringLiteral("Delete"));
         }},
        {"Move Button",
         [](LayoutHistoryTest&, TDocument& d) {
             d.Drag({20, 20}, {40, 35});
         }},
        {"Resize Image",
         [](LayoutHistoryTest&, TDocument& d)
         {
             d.Drag({110, 20}, {110, 20});
             d.Drag({150, 50}, {170, 62});
         }},
        {"Move Slider",
         [](LayoutHistoryTest&, TDocument& d)
         {
             d.Drag({210, 20}, {210, 20});
             QTest::keyClick(d.canvas.get(), Qt::Key_Right);
             QTest::keyClick(d.canvas.get(), Qt::Key_Right);
             QTest::keyClick(d.canvas.get(), Qt::Key_Down, Qt::ShiftModifier);
         }},
        {"Push Slider",
         [](LayoutHistoryTest& t, TDocument& d) {
             d.Menu(t.m_ui, {210, 20}, QStringLiteral("Push"));
         }},
        {"Pull Button",
         [](LayoutHistoryTest& t, TDocument& d) {
             d.Menu(t.m_ui, {20, 20}, QStringLiteral("Pull"));
         }},
        {"Button Properties",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             t.m_ui.dialogAnswers.push_back(
                 [](QDialog& dlg)
                 {
                     Type(&dlg, CButtonAddDlg::kDownText, QStringLiteral("LOBBY OFF"));
                     Click(&dlg, CButtonAddDlg::kOk);
                 });
             d.Menu(t.m_ui, {20, 20}, QStringLiteral("Properties"));
         }},
        {"Change Background",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             t.m_ui.dialogAnswers.push_back(
                 [](QDialog& dlg)
                 {
                     Click(&dlg, CQelFaceDlg::kButtonFace);
                     Click(&dlg, CQelFaceDlg::kSave);
                 });
             d.Menu(t.m_ui, {300, 200}, QStringLiteral("Background"));
         }},
        {"Import Lobby.qup",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             t.m_ui.openAnswers.push_back(t.PageFile());
             CQelUserDlg dlg(d.layout, *d.lobby, d.history);
             Click(&dlg, CQelUserDlg::kImport);
         }},
        {"Rename Page",
         [](LayoutHistoryTest&, TDocument& d)
         {
             CQelUserDlg dlg(d.layout, *d.bar, d.history);
             Type(&dlg, CQelUserDlg::kPageName, QStringLiteral("Cocktail Bar"));
             Click(&dlg, CQelUserDlg::kSave);
         }},
        {"Add Image",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             t.AnswerAddImage(QStringLiteral("Wall plate"));
             ASSERT_NE(RunAddImage(nullptr, d.layout), nullptr);
         }},
        {"Add Page",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             Select(&prog, 0);
             t.m_ui.menuAnswers.push_back(QStringLiteral("User Defined"));
             t.m_ui.dialogAnswers.push_back(
                 [](QDialog& dlg)
                 {
                     Type(&dlg, CQelUserDlg::kPageName, QStringLiteral("Terrace"));
                     Click(&dlg, CQelUserDlg::kSave);
                 });
             Click(&prog, CQELProg::kAdd);
         }},
        {"Duplicate Page",
         [](LayoutHistoryTest&, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             Select(&prog, 0);
             PressKeys(List(&prog), QKeySequence(Qt::CTRL | Qt::Key_D));
         }},
        {"Remove Page",
         [](LayoutHistoryTest&, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             Select(&prog, 0);
             Click(&prog, CQELProg::kRemove);
         }},
        {"Move Page Up",
         [](LayoutHistoryTest&, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             Select(&prog, 2);
             Click(&prog, CQELProg::kMoveUp);
         }},
        {"Move Page Down",
         [](LayoutHistoryTest&, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             Select(&prog, 0);
             Click(&prog, CQELProg::kMoveDown);
         }},
        {"Clear All",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             t.m_ui.messageAnswers.push_back(EMsgResult::Yes);
             Click(&prog, CQELProg::kClearAll);
         }},
        {"Set Default",
         [](LayoutHistoryTest&, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             Select(&prog, 1);
             Click(&prog, CQELProg::kSetDefault);
         }},
        {"Settings",
         [](LayoutHistoryTest&, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             Type(&prog, CQELProg::kControlName, QStringLiteral("Hotel"));
             Type(&prog, CQELProg::kManualBrightness, QStringLiteral("60"));
             Click(&prog, CQELProg::kOk);
         }},
        {"Edit 8 Button Page",
         [](LayoutHistoryTest& t, TDocument& d)
         {
             CQELProg prog(d.layout, d.history);
             Select(&prog, 2);
             t.m_ui.dialogAnswers.push_back(
                 [](QDialog& dlg)
                 {
                     Type(&dlg, CBtn8Dlg::NameId(1), QStringLiteral("Lights"));
                     Click(&dlg, CBtn8Dlg::kOk);
                 });
             Click(&prog, CQELProg::kEdit);
         }},
        {"User Events",
         [](LayoutHistoryTest&, TDocument& d)
         {
             // As the main window records what the events dialog wrote.
             const auto descriptions = d.layout.eventDescriptions;
             const auto texts = d.layout.eventTexts;
             d.layout.eventTexts[0] = MakeTextField(u"LIGHTS 50");
             d.history.Edits().EventsWritten(descriptions, texts);
         }},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.step);
        auto doc = std::make_unique<TDocument>();
        const std::vector<uint8_t> before = doc->Bytes();
        c.change(*this, *doc);
        const std::vector<uint8_t> after = doc->Bytes();
        EXPECT_NE(after, before);
        EXPECT_EQ(doc->Steps(), 1);
        EXPECT_EQ(doc->history.UndoText(), QString::fromUtf8(c.step));

        doc->history.Undo();
        EXPECT_EQ(doc->Bytes(), before);
        EXPECT_EQ(doc->history.RedoText(), QString::fromUtf8(c.step));
        doc->history.Redo();
        EXPECT_EQ(doc->Bytes(), after);
        doc->history.Undo();
        EXPECT_EQ(doc->Bytes(), before) << "a second time";
    }
}

// A long run of edits in random order, with undos and redos among them,
// undone to the start gives the starting bytes again, and redone the end.
TEST_F(LayoutHistoryTest, ALongRandomRunUndoesToTheStart)
{
    TDocument doc;
    CLayoutEdits& edits = doc.history.Edits();
    TUserPage& page = *doc.lobby;
    std::mt19937 random(13);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::vector<uint8_t> start = doc.Bytes();

    for (int i = 0; i < 600; ++i)
    {
        const size_t count = page.objects.size();
        const auto index = static_cast<size_t>(count > 0 ? pick(static_cast<int>(count)) : 0);
        TUserObject* object = page.ObjectAtIndex(index);
        switch (pick(10))
        {
        case 0:
        {
            auto added = MakeUserObject(1 + pick(4));
            added->SetRect({pick(300), pick(200), 1 + pick(80), 1 + pick(80)});
            edits.Add(page, std::move(added));
            break;
        }
        case 1:
            // Enough objects stay for their order to tell.
            if (object != nullptr && count > 6)
                edits.Delete(page, index);
            break;
        case 2:
        case 3:
            if (object != nullptr)
            {
                // A drag: moves as it happens, one step at its end.
                const TObjectRect before = object->Rect();
                for (int move = 0; move < 3; ++move)
                    edits.MoveResize(page, index, {pick(300), pick(200), pick(90), pick(90)});
                edits.EndMoveResize(page, index, before, pick(2) == 0);
            }
            break;
        case 4:
            if (object != nullptr)
                edits.Nudge(
                    page, index,
                    {std::max(0, object->left + pick(21) - 10), object->top, object->width, object->height});
            break;
        case 5:
            if (object != nullptr)
                edits.Restack(page, index, pick(2) == 0 ? 0 : count - 1);
            break;
        case 6:
            if (object != nullptr)
            {
                std::unique_ptr<TUserObject> changed = object->Clone();
                changed->width += 1 + pick(5);
                if (auto* button = dynamic_cast<TUserButton*>(changed.get()))
                    button->upFace = {kFaceColour, 1 + pick(4), 0, static_cast<uint32_t>(random())};
                edits.Replace(page, index, std::move(changed));
            }
            break;
        case 7:
            edits.SetBackground(page, {kFaceColour, 1 + pick(4), 0, static_cast<uint32_t>(random())});
            break;
        case 8:
            for (int k = pick(4); k > 0; --k)
                doc.history.Undo();
            break;
        default:
            for (int k = pick(3); k > 0; --k)
                doc.history.Redo();
            break;
        }
    }
    const std::vector<uint8_t> end = doc.Bytes();
    const int steps = doc.history.Stack().index();
    ASSERT_NE(end, start);
    ASSERT_GT(steps, 100);

    while (doc.history.CanUndo())
        doc.history.Undo();
    EXPECT_EQ(doc.Bytes(), start);
    for (int i = 0; i < steps; ++i)
        doc.history.Redo();
    EXPECT_EQ(doc.Bytes(), end);
}

size_t AddedPictures(const TLayout& layout)
{
    size_t n = 0;
    for (const auto& entry : layout.images)
        n += entry->IsAdded() ? 1 : 0;
    return n;
}

const QKeySequence kUndo(Qt::CTRL | Qt::Key_Z);
const QKeySequence kRedo(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);

// A page made by Add exists only while its dialog is open. Its steps go with
// the dialog, undone or not; what its dialog added to the library stays, as
// steps of their own; saved, the page comes in as one step, whole.
TEST_F(LayoutHistoryTest, TheStepsOnANewPageLeaveWithItsDialog)
{
    for (const bool save : {false, true})
    {
        SCOPED_TRACE(save ? "saved" : "cancelled");
        TDocument doc;
        const std::vector<uint8_t> start = doc.Bytes();
        CQELProg prog(doc.layout, doc.history);
        m_ui.menuAnswers.push_back(QStringLiteral("User Defined"));
        m_ui.dialogAnswers.push_back(
            [&, save](QDialog& shown)
            {
                auto& dlg = static_cast<CQelUserDlg&>(shown);
                CQelWnd& canvas = *dlg.Canvas();
                // Keys for the canvas, not for the name's own undo.
                canvas.setFocus();
                // As the face dialog's Add Image does, then the background
                // showing that picture.
                AnswerAddImage(QStringLiteral("Wall plate"));
                const int32_t added = RunAddImage(&dlg, doc.layout)->id;
                canvas.Edits().SetBackground(canvas.Page(), {kFaceImage, added});
                m_ui.openAnswers.push_back(PageFile());
                Click(&dlg, CQelUserDlg::kImport);
                auto button = std::make_unique<TUserButton>();
                button->SetRect({5, 5, 40, 20});
                canvas.Edits().Add(canvas.Page(), std::move(button));
                PressKeys(&dlg, kUndo);
                PressKeys(&dlg, kUndo);
                PressKeys(&dlg, kRedo);
                EXPECT_EQ(doc.history.UndoText(), QStringLiteral("Import Lobby.qup"));
                EXPECT_EQ(canvas.Page().objects.size(), 1u) << "the imported page's button";
                Type(&dlg, CQelUserDlg::kPageName, QStringLiteral("Terrace"));
                Click(&dlg, save ? CQelUserDlg::kSave : CQelUserDlg::kCancel);
            });
        Click(&prog, CQELProg::kAdd);
        const std::vector<uint8_t> closed = doc.Bytes();
        EXPECT_EQ(AddedPictures(doc.layout), 3u) << "the logo, the wall plate and the imported picture";
        EXPECT_EQ(doc.layout.pages.Size(), save ? 4u : 3u);

        QStringList undone;
        while (doc.history.CanUndo())
        {
            undone << doc.history.UndoText();
            PressKeys(&prog, kUndo);
        }
        EXPECT_EQ(undone, save ? (QStringList{"Add Page", "Import Lobby.qup", "Add Image"})
                               : (QStringList{"Import Lobby.qup", "Add Image"}));
        EXPECT_EQ(doc.Bytes(), start);
        EXPECT_EQ(List(&prog)->count(), 3);
        while (doc.history.CanRedo())
            PressKeys(&prog, kRedo);
        EXPECT_EQ(doc.Bytes(), closed);
        if (save)
        {
            ASSERT_EQ(List(&prog)->count(), 4);
            EXPECT_EQ(List(&prog)->item(3)->text(), QStringLiteral("Terrace"));
            EXPECT_TRUE(List(&prog)->item(3)->isSelected());
        }
    }
}

// While a page is open in its dialog, no undo or redo takes it out of the
// document: the step waits, named but disabled, in the canvas's menu too.
TEST_F(LayoutHistoryTest, AnOpenPageStaysInTheDocument)
{
    struct TCase
    {
        const char* how;
        std::function<void(LayoutHistoryTest&, CQELProg&)> setUp;
        bool undoBlocked; // otherwise redo
        const char* step;
    };
    const std::vector<TCase> cases{
        {"added",
         [](LayoutHistoryTest& t, CQELProg& prog)
         {
             t.m_ui.menuAnswers.push_back(QStringLiteral("User Defined"));
             t.m_ui.dialogAnswers.push_back([](QDialog& dlg) { Click(&dlg, CQelUserDlg::kSave); });
             Click(&prog, CQELProg::kAdd);
         },
         true, "Add Page"},
        {"removed and put back",
         [](LayoutHistoryTest&, CQELProg& prog)
         {
             Select(&prog, 0);
             Click(&prog, CQELProg::kRemove);
             PressKeys(&prog, kUndo);
         },
         false, "Remove Page"},
        {"cleared and put back",
         [](LayoutHistoryTest& t, CQELProg& prog)
         {
             t.m_ui.messageAnswers.push_back(EMsgResult::Yes);
             Click(&prog, CQELProg::kClearAll);
             PressKeys(&prog, kUndo);
         },
         false, "Clear All"},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.how);
        TDocument doc;
        CQELProg prog(doc.layout, doc.history);
        c.setUp(*this, prog);
        const int row = List(&prog)->currentRow() >= 0 ? List(&prog)->currentRow() : 0;
        Select(&prog, row);
        const TListItem* page = doc.layout.pages.At(static_cast<size_t>(row));
        m_ui.dialogAnswers.push_back(
            [&](QDialog& shown)
            {
                auto& dlg = static_cast<CQelUserDlg&>(shown);
                dlg.Canvas()->setFocus();
                const QString undo = QStringLiteral("Undo ") + QString::fromUtf8(c.step);
                const QString redo = QStringLiteral("Redo ") + QString::fromUtf8(c.step);
                EXPECT_FALSE(c.undoBlocked ? doc.history.CanUndo() : doc.history.CanRedo());
                PressKeys(&dlg, c.undoBlocked ? kUndo : kRedo);
                m_ui.menuAnswers.push_back(c.undoBlocked ? undo : redo);
                dlg.Canvas()->ContextMenu({300, 230});
                EXPECT_TRUE(m_ui.menusShown.back().endsWith(
                    c.undoBlocked ? undo + u',' + QStringLiteral("Redo") : QStringLiteral("Undo,") + redo))
                    << m_ui.menusShown.back().toStdString();
                EXPECT_EQ(doc.layout.pages.IndexOf(page), row) << "still in the document";

                // Steps of its own undo as usual, back down to the one that
                // waits (a new step would put a waiting redo away).
                if (c.undoBlocked)
                {
                    dlg.Canvas()->Edits().Add(dlg.Canvas()->Page(), std::make_unique<TUserButton>());
                    PressKeys(&dlg, kUndo);
                    EXPECT_TRUE(dlg.Canvas()->Page().objects.empty());
                    EXPECT_EQ(doc.history.UndoText(), QString::fromUtf8(c.step));
                }
                Click(&dlg, CQelUserDlg::kCancel);
            });
        Click(&prog, CQELProg::kEdit);
        // Closed, the step can be taken.
        EXPECT_TRUE(c.undoBlocked ? doc.history.CanUndo() : doc.history.CanRedo());
        PressKeys(&prog, c.undoBlocked ? kUndo : kRedo);
        EXPECT_EQ(doc.layout.pages.IndexOf(page), -1);
    }
}

// After an undo or redo, the programming dialog's list, the canvas's
// selection and the page name shown are those of the document.
TEST_F(LayoutHistoryTest, UndoKeepsTheWindowsShowingTheDocument)
{
    TDocument doc;
    const auto names = [](const QWidget* dlg)
    {
        QStringList out;
        for (int i = 0; i < List(dlg)->count(); ++i)
            out << List(dlg)->item(i)->text();
        return out;
    };
    CQELProg prog(doc.layout, doc.history);
    Select(&prog, 1);
    Click(&prog, CQELProg::kRemove);
    PressKeys(&prog, kUndo);
    EXPECT_EQ(names(&prog), (QStringList{"Lobby", "Bar", "8 Button"}));
    EXPECT_TRUE(List(&prog)->item(1)->isSelected()) << "the page put back";
    Select(&prog, 2);
    Click(&prog, CQELProg::kMoveUp);
    PressKeys(&prog, kUndo);
    EXPECT_EQ(names(&prog), (QStringList{"Lobby", "Bar", "8 Button"}));
    EXPECT_TRUE(List(&prog)->item(2)->isSelected());

    TUserPage& lobby = *doc.lobby;
    CQelUserDlg dlg(doc.layout, lobby, doc.history);
    CQelWnd& canvas = *dlg.Canvas();
    canvas.setFocus();
    canvas.SetSelected(lobby.objects[0].get());
    m_ui.messageAnswers.push_back(EMsgResult::Yes);
    canvas.RunCommand(CQelWnd::kDelete, {}, lobby.objects[2].get());
    EXPECT_EQ(canvas.Selected(), nullptr);
    PressKeys(&dlg, kUndo);
    EXPECT_EQ(canvas.Selected(), lobby.objects[2].get()) << "the slider put back";

    // Properties trade the object for another: the selection follows both ways.
    m_ui.dialogAnswers.push_back(
        [](QDialog& props)
        {
            Type(&props, CButtonAddDlg::kUpText, QStringLiteral("LOBBY OFF"));
            Click(&props, CButtonAddDlg::kOk);
        });
    canvas.RunCommand(CQelWnd::kProperties, {}, lobby.objects[0].get());
    PressKeys(&dlg, kUndo);
    EXPECT_EQ(canvas.Selected(), lobby.objects[0].get());
    PressKeys(&dlg, kRedo);
    EXPECT_EQ(canvas.Selected(), lobby.objects[0].get());
    EXPECT_EQ(TextFieldToWide(static_cast<TUserButton&>(*lobby.objects[0]).upText), u"LOBBY OFF");

    m_ui.openAnswers.push_back(PageFile());
    Click(&dlg, CQelUserDlg::kImport);
    EXPECT_EQ(Text(&dlg, CQelUserDlg::kPageName), QStringLiteral("Terrace"));
    PressKeys(&dlg, kUndo);
    EXPECT_EQ(Text(&dlg, CQelUserDlg::kPageName), QStringLiteral("Lobby"));
    EXPECT_EQ(lobby.objects.size(), 4u);
    EXPECT_EQ(canvas.Selected(), nullptr);
    EXPECT_EQ(names(&prog), (QStringList{"Lobby", "Bar", "8 Button"})) << "the list behind follows too";
}

// An undone "Add Image" takes its picture out of the library only when
// nothing names it any more.
TEST_F(LayoutHistoryTest, AnUndonePictureStaysWhileSomethingNamesIt)
{
    TDocument doc;
    AnswerAddImage(QStringLiteral("Wall plate"));
    const int32_t id = RunAddImage(nullptr, doc.layout)->id;
    // A page that named the id before the picture came.
    doc.bar->face = {kFaceImage, id};
    doc.history.Undo();
    EXPECT_NE(doc.layout.images.FindImage(id), nullptr);
    doc.history.Redo();
    EXPECT_EQ(AddedPictures(doc.layout), 2u);

    doc.bar->face = {};
    doc.history.Undo();
    EXPECT_EQ(doc.layout.images.FindImage(id), nullptr);
    doc.history.Redo();
    EXPECT_NE(doc.layout.images.FindImage(id), nullptr);
}

// The saved state is the step on top when it was saved: changes after it,
// undone, are no changes; a key press after a save is a step of its own.
TEST_F(LayoutHistoryTest, TheSavedStateIsTheStepOnTopWhenSaved)
{
    std::vector<bool> seen;
    TDocument doc;
    EXPECT_TRUE(doc.history.IsClean()) << "a new document";
    QObject::connect(&doc.history, &CLayoutHistory::CleanChanged,
                     [&seen](bool clean) { seen.push_back(clean); });
    doc.Drag({210, 20}, {210, 20});
    QTest::keyClick(doc.canvas.get(), Qt::Key_Right);
    EXPECT_FALSE(doc.history.IsClean());
    doc.history.SetClean();
    QTest::keyClick(doc.canvas.get(), Qt::Key_Right);
    EXPECT_EQ(doc.Steps(), 2) << "not taken into the saved step";
    EXPECT_FALSE(doc.history.IsClean());
    doc.history.Undo();
    EXPECT_TRUE(doc.history.IsClean());
    doc.history.Undo();
    EXPECT_FALSE(doc.history.IsClean()) << "before the save is a change too";
    doc.history.Redo();
    EXPECT_TRUE(doc.history.IsClean());
    EXPECT_EQ(seen, (std::vector<bool>{false, true, false, true, false, true}));
    doc.history.SetUnsaved();
    EXPECT_FALSE(doc.history.IsClean()) << "restored after a crash";
    doc.history.Clear();
    EXPECT_TRUE(doc.history.IsClean()) << "loaded";
}

// A new page's dialog takes its steps away when it ends; the saved state
// before it still tells whether the layout changed: cancelled, it did not;
// saved, it did. A save while the dialog is open (no window offers one) does
// not keep its steps, and the layout then counts as changed, to be safe.
TEST_F(LayoutHistoryTest, TheSavedStateHoldsThroughANewPagesDialog)
{
    struct TCase
    {
        const char* how;
        bool savePage;
        bool saveLayoutMeanwhile;
        bool clean;
    };
    const TCase cases[] = {
        {"cancelled", false, false, true},
        {"saved", true, false, false},
        {"cancelled after a save meanwhile", false, true, false},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.how);
        TDocument doc;
        doc.history.Edits().Add(*doc.bar, std::make_unique<TUserButton>());
        doc.history.SetClean();
        const int steps = doc.Steps();
        CQELProg prog(doc.layout, doc.history);
        m_ui.menuAnswers.push_back(QStringLiteral("User Defined"));
        m_ui.dialogAnswers.push_back(
            [&](QDialog& shown)
            {
                auto& dlg = static_cast<CQelUserDlg&>(shown);
                CQelWnd& canvas = *dlg.Canvas();
                EXPECT_FALSE(doc.history.CanUndo()) << "the dialog's undo begins at its own first step";
                for (int i = 0; i < 3; ++i)
                    canvas.Edits().Add(canvas.Page(), std::make_unique<TUserButton>());
                if (c.saveLayoutMeanwhile)
                    doc.history.SetClean();
                canvas.Edits().Add(canvas.Page(), std::make_unique<TUserButton>());
                Click(&dlg, c.savePage ? CQelUserDlg::kSave : CQelUserDlg::kCancel);
            });
        Click(&prog, CQELProg::kAdd);
        EXPECT_EQ(doc.history.IsClean(), c.clean);
        EXPECT_EQ(doc.Steps(), steps + (c.savePage ? 1 : 0)) << "the dialog's steps are gone";
        // Nothing left names the page a cancelled dialog destroyed.
        while (doc.history.CanUndo())
            doc.history.Undo();
        EXPECT_EQ(doc.history.Stack().index(), 0);
    }
}

// Loading a template replaces the document: nothing before it can be undone.
TEST_F(LayoutHistoryTest, LoadClearsTheHistory)
{
    TDocument doc;
    const QString path = Path(QStringLiteral("other.qel"));
    {
        TLayout other;
        ASSERT_TRUE(SaveTemplateFile(other, path.toStdString()).ok);
    }
    CQELProg prog(doc.layout, doc.history);
    Select(&prog, 0);
    Click(&prog, CQELProg::kRemove);
    m_ui.openAnswers.push_back(QStringLiteral("/nonexistent/none.qel"));
    Click(&prog, CQELProg::kLoad);
    EXPECT_TRUE(doc.history.CanUndo()) << "a file that was not loaded replaced nothing";
    m_ui.openAnswers.push_back(path);
    Click(&prog, CQELProg::kLoad);
    EXPECT_FALSE(doc.history.CanUndo());
    EXPECT_EQ(doc.Steps(), 0);
}

} // namespace
