#include "QelWnd.h"

#include "ButtonAddDlg.h"
#include "DialogDriver.h"
#include "HotspotDlg.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "LayoutImages.h"
#include "PageDraw.h"
#include "PositionLine.h"
#include "QelFaceDlg.h"
#include "QelUserDlg.h"
#include "ScriptedUiServices.h"
#include "SliderPropDlg.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace
{

// A canvas on a page of its own, with the UI services answered by the test.
class QelWndTest : public ::testing::Test
{
protected:
    QelWndTest() : m_page(u"Lobby", 10000), m_canvas(m_layout, m_page)
    {
        m_canvas.resize(320, 240);
        m_canvas.show();
    }

    // An object of the page, placed and sized, on top of the others.
    template <typename T> T* Put(int32_t left, int32_t top, int32_t width, int32_t height)
    {
        auto object = std::make_unique<T>();
        object->SetRect({left, top, width, height});
        return static_cast<T*>(m_page.AppendObject(std::move(object)));
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, QPoint at)
    {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(m_held);
        QMouseEvent event(type, QPointF(at), QPointF(m_canvas.mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&m_canvas, &event);
    }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        m_held = button;
        Mouse(QEvent::MouseButtonPress, button, at);
    }
    void Move(QPoint at) { Mouse(QEvent::MouseMove, Qt::NoButton, at); }
    void Release(QPoint at)
    {
        Mouse(QEvent::MouseButtonRelease, m_held, at);
        m_held = Qt::NoButton;
    }
    void Drag(QPoint from, std::initializer_list<QPoint> through)
    {
        Press(from);
        for (QPoint p : through)
            Move(p);
        Release(through.size() > 0 ? *(through.end() - 1) : from);
    }
    // A right press at a point, with the menu answered.
    void Menu(QPoint at, const QString& answer)
    {
        m_ui.menuAnswers.push_back(answer);
        Press(at, Qt::RightButton);
        Release(at);
    }

    TLayout m_layout;
    TUserPage m_page;
    CQelWnd m_canvas;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
    Qt::MouseButton m_held = Qt::NoButton;
};

TObjectRect R(int32_t l, int32_t t, int32_t w, int32_t h)
{
    return {l, t, w, h};
}

TEST_F(QelWndTest, SelectionPrefersTheSelectedObjectThenTheTopmost)
{
    TUserObject* low = Put<TUserImage>(10, 10, 50, 50);
    TUserObject* high = Put<TUserImage>(30, 30, 50, 50);

    Drag({15, 15}, {});
    EXPECT_EQ(m_canvas.Selected(), low);
    Drag({40, 40}, {});
    EXPECT_EQ(m_canvas.Selected(), low) << "inside the selection, under a higher object";
    Drag({70, 70}, {});
    EXPECT_EQ(m_canvas.Selected(), high);
    Drag({40, 40}, {});
    EXPECT_EQ(m_canvas.Selected(), high) << "the topmost where both lie";

    Drag({200, 200}, {{250, 220}});
    EXPECT_EQ(m_canvas.Selected(), nullptr) << "an empty place deselects";
    EXPECT_EQ(low->Rect(), R(10, 10, 50, 50));
    EXPECT_EQ(high->Rect(), R(30, 30, 50, 50)) << "and its drag moves nothing";
}

TEST_F(QelWndTest, DragsMoveAndResizeByTheRules)
{
    struct TCase
    {
        const char* name;
        TObjectRect start;
        QPoint press;
        std::vector<QPoint> moves;
        TObjectRect end;
    };
    const std::vector<TCase> cases{
        {"move", R(10, 10, 50, 40), {20, 20}, {{25, 30}, {45, 28}}, R(35, 18, 50, 40)},
        {"move stops at 0", R(10, 10, 50, 40), {20, 20}, {{-50, 15}}, R(0, 5, 50, 40)},
        {"and goes back from there", R(10, 10, 50, 40), {20, 20}, {{-50, 15}, {-40, 15}}, R(10, 5, 50, 40)},
        {"move passes 320", R(10, 10, 50, 40), {20, 20}, {{420, 20}}, R(410, 10, 50, 40)},
        {"within 4 outside a corner resizes", R(10, 10, 50, 50), {7, 7}, {{2, 4}}, R(5, 7, 55, 53)},
        {"top-right", R(10, 10, 50, 50), {60, 10}, {{70, 5}}, R(10, 5, 60, 55)},
        {"bottom-right", R(10, 10, 50, 50), {60, 60}, {{65, 70}}, R(10, 10, 55, 60)},
        {"bottom-left", R(10, 10, 50, 50), {10, 60}, {{5, 62}}, R(5, 10, 55, 52)},
        {"top-left past the right edge mirrors", R(10, 10, 50, 50), {10, 10}, {{80, 10}}, R(60, 10, 20, 50)},
        {"and keeps the top-left rule", R(10, 10, 50, 50), {10, 10}, {{80, 10}, {90, 10}}, R(70, 10, 10, 50)},
        {"resize never leaves x below 0", R(10, 10, 50, 50), {10, 10}, {{-30, 10}}, R(0, 10, 90, 50)},
        {"down to nothing", R(10, 10, 50, 50), {60, 60}, {{10, 10}}, R(10, 10, 0, 0)},
    };
    for (const TCase& c : cases)
    {
        m_page.objects.clear();
        TUserObject* object = Put<TUserButton>(c.start.left, c.start.top, c.start.width, c.start.height);
        m_canvas.SetSelected(object);
        Press(c.press);
        for (QPoint p : c.moves)
            Move(p);
        Release(c.moves.back());
        EXPECT_EQ(object->Rect(), c.end) << c.name;
        EXPECT_EQ(m_canvas.Selected(), object) << c.name;
        EXPECT_FALSE(m_canvas.IsDragging()) << c.name;
    }
    // An empty button cannot be hit any more but stays selected.
    EXPECT_EQ(m_page.ObjectAt(10, 10), nullptr);
}

TEST_F(QelWndTest, TheMenuTargetsTheObjectOnTopAndShowsBesideThePoint)
{
    TUserObject* low = Put<TUserImage>(10, 10, 50, 50);
    TUserObject* high = Put<TUserImage>(30, 30, 50, 50);
    m_canvas.SetSelected(low);

    m_ui.messageAnswers.push_back(EMsgResult::No);
    Menu({40, 40}, QStringLiteral("Delete"));
    ASSERT_EQ(m_page.objects.size(), 2u) << "No keeps it";
    EXPECT_EQ(m_ui.messages.back().caption, QStringLiteral("Confirm Delete"));
    EXPECT_EQ(m_ui.messages.back().text,
              QStringLiteral("Are you sure you want to permanently delete this object ?"));
    EXPECT_EQ(m_ui.messages.back().buttons, EMsgButtons::YesNo);

    m_ui.messageAnswers.push_back(EMsgResult::Yes);
    Menu({40, 40}, QStringLiteral("Delete"));
    ASSERT_EQ(m_page.objects.size(), 1u);
    EXPECT_EQ(m_page.objects[0].get(), low) << "the object on top went, not the selected one";
    EXPECT_EQ(m_canvas.Selected(), nullptr) << "and nothing is selected afterwards";
    (void)high;

    Menu({200, 200}, QString());
    EXPECT_EQ(m_ui.menusShown.back(), QStringLiteral("Background,Add,Push,Pull,Cut,Copy,Paste,Duplicate,Arrange,Grid,Undo Delete Image,Redo"))
        << "no target, no Properties";
    EXPECT_EQ(m_ui.menusShown.front(), QStringLiteral(
                  "Background,Add,Properties,Delete,Push,Pull,Cut,Copy,Paste,Duplicate,Arrange,Grid,Undo,Redo"));
    const QPoint anchor = m_canvas.mapToGlobal(QPoint(200, 200));
    EXPECT_EQ(m_ui.menuPositions.back().x(), anchor.x()) << "left edge at the point";
    EXPECT_LT(m_ui.menuPositions.back().y(), anchor.y()) << "vertically centred on it";
}

TEST_F(QelWndTest, PushAndPullTakeTheObjectUnderTheClick)
{
    TUserObject* a = Put<TUserImage>(0, 0, 20, 20);
    TUserObject* b = Put<TUserImage>(10, 0, 20, 20);
    TUserObject* c = Put<TUserImage>(50, 0, 20, 20);
    const auto order = [&]
    {
        return std::vector<TUserObject*>{m_page.objects[0].get(), m_page.objects[1].get(),
                                         m_page.objects[2].get()};
    };
    m_canvas.SetSelected(a);

    Menu({5, 5}, QStringLiteral("Push"));
    EXPECT_EQ(order(), (std::vector<TUserObject*>{a, b, c})) << "push on the bottom";
    Menu({55, 5}, QStringLiteral("Pull"));
    EXPECT_EQ(order(), (std::vector<TUserObject*>{a, b, c})) << "pull on the top";
    Menu({200, 200}, QStringLiteral("Push"));
    Menu({200, 200}, QStringLiteral("Pull"));
    EXPECT_EQ(order(), (std::vector<TUserObject*>{a, b, c})) << "nothing under the click";
    Menu({15, 5}, QStringLiteral("Push"));
    EXPECT_EQ(order(), (std::vector<TUserObject*>{b, a, c})) << "b, on top at that point, not the selected a";
    Menu({5, 5}, QStringLiteral("Pull"));
    EXPECT_EQ(order(), (std::vector<TUserObject*>{b, c, a}));
}

TEST_F(QelWndTest, AddPlacesWhatTheDialogsGiveAtTheClickPoint)
{
    // A button with a single-colour up face and its event texts.
    m_ui.dialogAnswers.push_back(
        [](QDialog& dlg)
        {
            Type(&dlg, CButtonAddDlg::kDownText, QStringLiteral("ZONE1 ON"));
            Type(&dlg, CButtonAddDlg::kUpText, QStringLiteral("ZONE1 OFF"));
            Click(&dlg, CButtonAddDlg::kOk);
        });
    Menu({100, 50}, QStringLiteral("Add/Button"));
    ASSERT_EQ(m_page.objects.size(), 1u);
    auto* button = dynamic_cast<TUserButton*>(m_page.objects[0].get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Rect(), R(100, 50, 45, 30));
    EXPECT_EQ(button->selectorId, -1);
    EXPECT_FALSE(button->toggle);
    EXPECT_EQ(TextFieldToWide(button->downText), u"ZONE1 ON");
    EXPECT_EQ(TextFieldToWide(button->upText), u"ZONE1 OFF");
    EXPECT_EQ(m_canvas.Selected(), button);

    m_ui.dialogAnswers.push_back(
        [](QDialog& dlg)
        {
            EXPECT_EQ(Selected(&dlg, CButtonAddDlg::kSelectorList), QStringLiteral("1"));
            Click(&dlg, CButtonAddDlg::kOk);
        });
    Menu({150, 50}, QStringLiteral("Add/Selection"));
    auto* selection = dynamic_cast<TUserButton*>(m_page.objects.back().get());
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(selection->selectorId, 1);
    EXPECT_TRUE(selection->toggle);

    m_ui.dialogAnswers.push_back([](QDialog& dlg) { Click(&dlg, CSliderPropDlg::kOk); });
    Menu({200, 200}, QStringLiteral("Add/Level Slider"));
    auto* level = dynamic_cast<TUserLevel*>(m_page.objects.back().get());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->Rect(), R(200, 200, 45, 130)) << "reaches below 240 and is clipped";
    EXPECT_EQ(level->controlId, -1);
    EXPECT_EQ(level->sliderImageId, TUserLevel::kDefaultSliderImage);

    m_layout.pages.InsertPage(std::make_unique<TUserPage>(u"Bar", 10001));
    m_ui.dialogAnswers.push_back(
        [](QDialog& dlg)
        {
            Choose(&dlg, CHotspotDlg::kTargetList, QStringLiteral("Bar"));
            Click(&dlg, CHotspotDlg::kOk);
        });
    Menu({5, 200}, QStringLiteral("Add/Hot Spot"));
    auto* hotspot = dynamic_cast<TUserHotspot*>(m_page.objects.back().get());
    ASSERT_NE(hotspot, nullptr);
    EXPECT_EQ(hotspot->Rect(), R(5, 200, 45, 30));
    EXPECT_EQ(hotspot->targetPage, 10001);

    // Cancel adds nothing.
    const size_t count = m_page.objects.size();
    Menu({5, 5}, QStringLiteral("Add/Image"));
    EXPECT_EQ(m_page.objects.size(), count);
    EXPECT_EQ(m_ui.dialogsShown.back(), QStringLiteral("Face Definition"));
}

TEST_F(QelWndTest, PropertiesOfASelectionButtonStoreAnotherSelectorId)
{
    auto* button = Put<TUserButton>(10, 10, 45, 30);
    button->selectorId = 3;
    button->toggle = false;
    TUserObject* other = Put<TUserImage>(200, 200, 10, 10);
    m_canvas.SetSelected(other);

    m_ui.dialogAnswers.push_back(
        [](QDialog& dlg)
        {
            EXPECT_EQ(Selected(&dlg, CButtonAddDlg::kSelectorList), QStringLiteral("3"));
            Choose(&dlg, CButtonAddDlg::kSelectorList, QStringLiteral("7"));
            Click(&dlg, CButtonAddDlg::kOk);
        });
    Menu({20, 20}, QStringLiteral("Properties"));
    auto* changed = dynamic_cast<TUserButton*>(m_page.objects[0].get());
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->selectorId, 7);
    EXPECT_TRUE(changed->toggle);
    EXPECT_EQ(changed->Rect(), R(10, 10, 45, 30));
    EXPECT_EQ(m_canvas.Selected(), other) << "a button's properties leave the selection";

    // An image's properties select it and take the picture's size.
    auto* image = Put<TUserImage>(100, 100, 45, 30);
    image->face.type = kFaceImage;
    image->face.param = 16;
    m_ui.dialogAnswers.push_back([](QDialog& dlg) { Click(&dlg, CQelFaceDlg::kSave); });
    Menu({110, 110}, QStringLiteral("Properties"));
    const TUserObject* shown = m_page.objects.back().get();
    EXPECT_EQ(m_canvas.Selected(), shown);
    EXPECT_EQ(shown->Rect(), R(100, 100, 31, 31)) << "the built-in square button picture is 31 x 31";
}

TEST_F(QelWndTest, PaintsThePageThroughTheDrawingCode)
{
    m_page.face.type = kFaceColour;
    m_page.face.param = kColourTopToBottom;
    m_page.face.colour2 = Rgb(250, 250, 250);
    auto* button = Put<TUserButton>(20, 20, 60, 40);
    button->upFace.type = kFaceButton;
    button->upFace.param = 4;
    Put<TUserHotspot>(100, 100, 50, 50);
    m_canvas.SetSelected(button);

    CRaster expected(320, 240);
    PaintPage(m_page, LayoutImages(m_layout), expected, button);
    EXPECT_EQ(m_canvas.grab(QRect(0, 0, 320, 240)).toImage().convertToFormat(QImage::Format_RGB32),
              RasterToImage(expected));
}

// The arrows move the selected object by a pixel, with Shift by ten, and
// never leave x or y below 0; with a history a run of presses on one object
// is one step, and a press that moves nothing is none.
TEST_F(QelWndTest, ArrowsMoveTheSelectionByPixelsNeverBelowZero)
{
    struct TCase
    {
        const char* name;
        TObjectRect start;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        TObjectRect end;
    };
    const std::vector<TCase> cases{
        {"right", R(10, 10, 20, 20), Qt::Key_Right, Qt::NoModifier, R(11, 10, 20, 20)},
        {"down by ten", R(10, 10, 20, 20), Qt::Key_Down, Qt::ShiftModifier, R(10, 20, 20, 20)},
        {"left at x = 0", R(0, 10, 20, 20), Qt::Key_Left, Qt::NoModifier, R(0, 10, 20, 20)},
        {"up by ten from 4 stops at 0", R(10, 4, 20, 20), Qt::Key_Up, Qt::ShiftModifier, R(10, 0, 20, 20)},
    };
    for (const TCase& c : cases)
    {
        m_page.objects.clear();
        TUserObject* object = Put<TUserButton>(c.start.left, c.start.top, c.start.width, c.start.height);
        m_canvas.SetSelected(object);
        QTest::keyClick(&m_canvas, c.key, c.modifiers);
        EXPECT_EQ(object->Rect(), c.end) << c.name;
    }

    m_page.objects.clear();
    TUserObject* object = Put<TUserButton>(1, 5, 20, 20);
    // The steps from here on only.
    CLayoutHistory& history = m_canvas.History();
    history.Clear();
    m_canvas.SetSelected(object);
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Down})
        QTest::keyClick(&m_canvas, key);
    EXPECT_EQ(object->Rect(), R(0, 6, 20, 20));
    EXPECT_EQ(history.Stack().count(), 1) << "one step for the run; the presses at 0 added nothing";
    history.Undo();
    EXPECT_EQ(object->Rect(), R(1, 5, 20, 20));
    QTest::keyClick(&m_canvas, Qt::Key_Left);
    history.Undo();
    QTest::keyClick(&m_canvas, Qt::Key_Down);
    QTest::keyClick(&m_canvas, Qt::Key_Up);
    EXPECT_EQ(history.Stack().count(), 0) << "keys that came back to the start leave no step";

    m_canvas.SetSelected(nullptr);
    QTest::keyClick(&m_canvas, Qt::Key_Right);
    EXPECT_EQ(object->Rect(), R(1, 5, 20, 20)) << "nothing selected, nothing moves";
}

// Delete asks what the menu asks, about the selected object.
TEST_F(QelWndTest, DeleteKeyAsksFirst)
{
    TUserObject* low = Put<TUserImage>(10, 10, 50, 50);
    TUserObject* high = Put<TUserImage>(30, 30, 50, 50);
    m_canvas.SetSelected(low);
    m_ui.messageAnswers.push_back(EMsgResult::No);
    QTest::keyClick(&m_canvas, Qt::Key_Delete);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages.back().caption, QStringLiteral("Confirm Delete"));
    EXPECT_EQ(m_ui.messages.back().text,
              QStringLiteral("Are you sure you want to permanently delete this object ?"));
    EXPECT_EQ(m_page.objects.size(), 2u) << "No keeps it";
    EXPECT_EQ(m_canvas.Selected(), low);

    m_ui.messageAnswers.push_back(EMsgResult::Yes);
    QTest::keyClick(&m_canvas, Qt::Key_Delete);
    ASSERT_EQ(m_page.objects.size(), 1u);
    EXPECT_EQ(m_page.objects[0].get(), high) << "the selected one went, not the one on top";
    EXPECT_EQ(m_canvas.Selected(), nullptr);
    m_canvas.SetSelected(nullptr);
    QTest::keyClick(&m_canvas, Qt::Key_Delete);
    EXPECT_EQ(m_ui.messages.size(), 2u) << "nothing selected, nothing asked";
}

// Tab and Shift+Tab walk the objects in stacking order; past either end the
// focus moves on, so the keyboard can leave the canvas. Escape and Enter
// still close the dialog.
TEST_F(QelWndTest, TabWalksTheStackingOrderAndEscapeAndEnterCloseTheDialog)
{
    TLayout layout;
    TUserPage page(u"Lobby", 10000);
    for (int i = 0; i < 3; ++i)
    {
        auto object = std::make_unique<TUserImage>();
        object->SetRect({10 + 40 * i, 10, 30, 30});
        page.AppendObject(std::move(object));
    }
    const auto selected = [&page](const CQelWnd& canvas) { return page.IndexOfObject(canvas.Selected()); };
    for (const bool enter : {false, true})
    {
        CQelUserDlg dlg(layout, page);
        dlg.show();
        dlg.activateWindow();
        QApplication::setActiveWindow(&dlg);
        CQelWnd& canvas = *dlg.Canvas();
        DlgItem<QWidget>(&dlg, CQelUserDlg::kPageName)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), &canvas) << "the canvas comes after the name";
        EXPECT_EQ(selected(canvas), 0) << "tabbed into, the bottom object";
        QTest::keyClick(&canvas, Qt::Key_Tab);
        QTest::keyClick(&canvas, Qt::Key_Tab);
        EXPECT_EQ(selected(canvas), 2);
        QTest::keyClick(&canvas, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), DlgItem<QWidget>(&dlg, CQelUserDlg::kImport))
            << "past the top";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(selected(canvas), 2) << "back in from below, the top object";
        QTest::keyClick(&canvas, Qt::Key_Backtab);
        EXPECT_EQ(selected(canvas), 1);

        QTest::keyClick(&canvas, enter ? Qt::Key_Return : Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), enter ? QDialog::Accepted : QDialog::Rejected);
    }
}

// Escape or Enter during a drag puts the object back and ends the drag,
// leaving nothing to undo; the dialog stays open until the next press.
TEST_F(QelWndTest, EscapeAndEnterMidDragPutTheObjectBack)
{
    for (const bool resize : {false, true})
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        {
            const std::string name =
                std::string(resize ? "resize, key " : "move, key ") + std::to_string(key);
            TLayout layout;
            TUserPage page(u"Lobby", 10000);
            auto made = std::make_unique<TUserButton>();
            made->SetRect({10, 10, 50, 40});
            TUserObject* object = page.AppendObject(std::move(made));
            CLayoutHistory history(layout);
            CQelUserDlg dlg(layout, page, history);
            dlg.show();
            CQelWnd& canvas = *dlg.Canvas();
            canvas.SetSelected(object);
            canvas.setFocus();
            const QPoint from = resize ? QPoint(60, 50) : QPoint(20, 20);
            QMouseEvent press(QEvent::MouseButtonPress, from, canvas.mapToGlobal(QPointF(from)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&canvas, &press);
            for (const QPoint at : {from + QPoint(5, 5), from + QPoint(30, 12)})
            {
                QMouseEvent move(QEvent::MouseMove, at, canvas.mapToGlobal(QPointF(at)), Qt::NoButton,
                                 Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(&canvas, &move);
            }
            ASSERT_NE(object->Rect(), R(10, 10, 50, 40)) << name;

            QTest::keyClick(&canvas, key);
            EXPECT_EQ(object->Rect(), R(10, 10, 50, 40)) << name;
            EXPECT_FALSE(canvas.IsDragging()) << name;
            EXPECT_TRUE(dlg.isVisible()) << name << ": the key ended the drag only";
            EXPECT_EQ(dlg.PositionLine()->text(), QStringLiteral("Button: x 10, y 10, width 50, height 40"))
                << name;
            const QPoint later = from + QPoint(40, 20);
            QMouseEvent move(QEvent::MouseMove, later, canvas.mapToGlobal(QPointF(later)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&canvas, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, later, canvas.mapToGlobal(QPointF(later)),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&canvas, &release);
            EXPECT_EQ(object->Rect(), R(10, 10, 50, 40)) << name << ": the rest of the gesture moves nothing";
            EXPECT_EQ(history.Stack().count(), 0) << name;

            QTest::keyClick(&canvas, key);
            EXPECT_FALSE(dlg.isVisible()) << name << ": the next press closes the dialog";
        }
}

// A drag still under way when the canvas is hidden with its dialog, or
// destroyed, keeps where it took the object, as one step.
TEST_F(QelWndTest, ADragCutShortByClosingIsOneStep)
{
    for (const bool destroy : {false, true})
    {
        TLayout layout;
        TUserPage page(u"Lobby", 10000);
        auto made = std::make_unique<TUserButton>();
        made->SetRect({10, 10, 50, 40});
        TUserObject* object = page.AppendObject(std::move(made));
        CLayoutHistory history(layout);
        auto canvas = std::make_unique<CQelWnd>(history, page);
        canvas->show();
        for (const auto& [type, at] :
             {std::pair{QEvent::MouseButtonPress, QPoint(20, 20)},
              std::pair{QEvent::MouseMove, QPoint(25, 24)}, std::pair{QEvent::MouseMove, QPoint(35, 30)}})
        {
            QMouseEvent event(type, at, canvas->mapToGlobal(QPointF(at)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(canvas.get(), &event);
        }
        if (destroy)
            canvas.reset();
        else
            canvas->hide();
        EXPECT_EQ(object->Rect(), R(25, 20, 50, 40)) << destroy;
        ASSERT_EQ(history.Stack().count(), 1) << destroy;
        history.Undo();
        EXPECT_EQ(object->Rect(), R(10, 10, 50, 40)) << destroy;
        if (canvas != nullptr)
        {
            EXPECT_FALSE(canvas->IsDragging());
        }
    }
}

} // namespace
