#include "QelWnd.h"

#include "CanvasZoom.h"
#include "DialogDriver.h"
#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "PictureFiles.h"
#include "PositionLine.h"
#include "ScriptedUiServices.h"
#include "UserButton.h"
#include "UserImage.h"
#include "UserPage.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace
{

// A page of a layout on a canvas, so that the whole document can be
// compared byte for byte.
struct TCanvasDoc
{
    TCanvasDoc()
        : page(static_cast<TUserPage*>(
              layout.pages.InsertPage(std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId())))),
          canvas(layout, *page)
    {
        canvas.resize(canvas.ShownPageSize());
        canvas.show();
    }
    template <typename T> T* Put(int32_t left, int32_t top, int32_t width, int32_t height)
    {
        auto object = std::make_unique<T>();
        object->SetRect({left, top, width, height});
        return static_cast<T*>(page->AppendObject(std::move(object)));
    }

    TLayout layout;
    TUserPage* page;
    CQelWnd canvas;
};

class CanvasSelectionTest : public ::testing::Test
{
protected:
    ~CanvasSelectionTest() override
    {
        SetCanvasZoom(1);
        SetCanvasGrid(0);
    }

    // Mouse events at panel points (at the canvas's zoom).
    void Mouse(CQelWnd& canvas, QEvent::Type type, Qt::MouseButton button, QPoint panel,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPoint at = canvas.ToWidget(panel) + QPoint(canvas.Zoom() / 2, canvas.Zoom() / 2);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(m_held);
        QMouseEvent event(type, QPointF(at), QPointF(canvas.mapToGlobal(at)), button, held, modifiers);
        QApplication::sendEvent(&canvas, &event);
    }
    void Drag(CQelWnd& canvas, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_held = Qt::LeftButton;
        Mouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, from, modifiers);
        Mouse(canvas, QEvent::MouseMove, Qt::NoButton, to, modifiers);
        Mouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, to, modifiers);
        m_held = Qt::NoButton;
    }
    void Menu(CQelWnd& canvas, QPoint at, const QString& answer)
    {
        m_ui.menuAnswers.push_back(answer);
        m_held = Qt::RightButton;
        Mouse(canvas, QEvent::MouseButtonPress, Qt::RightButton, at);
        Mouse(canvas, QEvent::MouseButtonRelease, Qt::RightButton, at);
        m_held = Qt::NoButton;
    }

    TCanvasDoc m_doc;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
    Qt::MouseButton m_held = Qt::NoButton;
};

TObjectRect R(int32_t l, int32_t t, int32_t w, int32_t h)
{
    return {l, t, w, h};
}

// A drag from empty canvas selects what its rectangle touches; Shift+click
// adds and removes; Ctrl+A takes all. The first one is the key object, and
// the position line gives the count and bounds.
TEST_F(CanvasSelectionTest, RubberBandShiftClickAndSelectAll)
{
    CQelWnd& canvas = m_doc.canvas;
    CPositionLine line(canvas);
    TUserObject* a = m_doc.Put<TUserImage>(10, 10, 20, 20);
    TUserObject* b = m_doc.Put<TUserImage>(50, 10, 20, 20);
    TUserObject* c = m_doc.Put<TUserImage>(100, 100, 20, 20);
    using TSel = std::vector<TUserObject*>;

    Drag(canvas, {5, 5}, {55, 15});
    EXPECT_EQ(canvas.Selection(), (TSel{a, b}));
    EXPECT_EQ(line.text(), QStringLiteral("2 objects: x 10, y 10, width 60, height 20"));
    Drag(canvas, {110, 110}, {110, 110}, Qt::ShiftModifier);
    Drag(canvas, {15, 15}, {15, 15}, Qt::ShiftModifier);
    EXPECT_EQ(canvas.Selection(), (TSel{b, c})) << "c added, a taken out; b is now the key object";
    EXPECT_EQ(canvas.Selected(), b);
    Drag(canvas, {200, 5}, {5, 25}, Qt::ShiftModifier);
    EXPECT_EQ(canvas.Selection(), (TSel{b, c, a})) << "a Shift rectangle adds";

    Drag(canvas, {200, 200}, {300, 230});
    EXPECT_TRUE(canvas.Selection().empty()) << "a rectangle over nothing selects nothing";
    QTest::keyClick(&canvas, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(canvas.Selection(), (TSel{a, b, c}));
    EXPECT_EQ(line.text(), QStringLiteral("3 objects: x 10, y 10, width 110, height 110"));
    const QImage shown = canvas.grab().toImage();
    EXPECT_EQ(shown.pixelColor(9, 9), QColor(Qt::black)) << "the key object's handles are filled";
    EXPECT_EQ(shown.pixelColor(49, 9), QColor(Qt::white)) << "the others' are not";
    EXPECT_TRUE(m_doc.layout.pages.Size() == 1 && m_doc.canvas.History().Stack().count() == 0)
        << "selecting changes nothing";

    // A right click inside the selection keeps it; on another object of a
    // page it takes that one alone.
    Menu(canvas, {55, 15}, QString());
    EXPECT_EQ(canvas.Selection().size(), 3u);
    // A click on one of them without a move takes that one alone; a drag
    // from one moves them all.
    Drag(canvas, {60, 15}, {70, 25});
    EXPECT_EQ(canvas.Selection().size(), 3u);
    Drag(canvas, {70, 25}, {70, 25});
    EXPECT_EQ(canvas.Selection(), (TSel{b}));
    QTest::keyClick(&canvas, Qt::Key_A, Qt::ControlModifier);
    TUserObject* d = m_doc.Put<TUserImage>(200, 200, 20, 20);
    Menu(canvas, {205, 205}, QString());
    EXPECT_EQ(canvas.Selection(), (TSel{d}));
}

// Drag, arrows, Delete and Push on several objects: each one step, undone
// and redone byte for byte.
TEST_F(CanvasSelectionTest, TheSelectionMovesAndGoesAsOneStep)
{
    CQelWnd& canvas = m_doc.canvas;
    CLayoutHistory& history = canvas.History();
    m_doc.Put<TUserButton>(200, 200, 20, 20);
    TUserObject* a = m_doc.Put<TUserButton>(10, 10, 20, 20);
    TUserObject* b = m_doc.Put<TUserButton>(50, 30, 20, 20);
    TUserObject* c = m_doc.Put<TUserButton>(90, 50, 20, 20);
    canvas.SetSelection({a, b, c});

    const std::vector<uint8_t> before = m_doc.layout.SaveToBytes();
    Drag(canvas, {55, 35}, {62, 41}, Qt::AltModifier);
    EXPECT_EQ(a->Rect(), R(17, 16, 20, 20));
    EXPECT_EQ(c->Rect(), R(97, 56, 20, 20));
    EXPECT_EQ(history.Stack().count(), 1);
    EXPECT_EQ(history.UndoText(), QStringLiteral("Move 3 Objects"));
    const std::vector<uint8_t> moved = m_doc.layout.SaveToBytes();
    history.Undo();
    EXPECT_EQ(m_doc.layout.SaveToBytes(), before);
    history.Redo();
    EXPECT_EQ(m_doc.layout.SaveToBytes(), moved);

    canvas.SetSelection({a, b, c});
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&canvas, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(a->left, 0) << "the selection stops as a whole at 0";
    EXPECT_EQ(b->left, 40);
    EXPECT_EQ(history.Stack().count(), 2) << "a run of presses is one step";

    Menu(canvas, {45, 40}, QStringLiteral("Push"));
    EXPECT_EQ(m_doc.page->objects[0].get(), a);
    EXPECT_EQ(m_doc.page->objects[2].get(), c);
    EXPECT_EQ(history.Stack().count(), 3);

    m_ui.messageAnswers.push_back(EMsgResult::Yes);
    QTest::keyClick(&canvas, Qt::Key_Delete);
    ASSERT_EQ(m_ui.messages.size(), 1u) << "one question";
    EXPECT_EQ(m_ui.messages[0].text,
              QStringLiteral("Are you sure you want to permanently delete these 3 objects ?"));
    EXPECT_EQ(m_doc.page->objects.size(), 1u);
    EXPECT_EQ(history.Stack().count(), 4);
    history.Undo();
    history.Undo();
    history.Undo();
    EXPECT_EQ(m_doc.layout.SaveToBytes(), moved);
}

// Copy on one layout, Paste on another: the picture comes along once, the
// objects where they were (on their own page, 10 pixels on), and from the
// menu at the click point; the pasted objects are the selection.
TEST_F(CanvasSelectionTest, CopyAndPasteBetweenLayoutsBringAPictureOnce)
{
    const int32_t logo =
        m_doc.layout.images.AddImage(u"Logo", std::make_unique<CImageBuffer>(PatternPicture(4, 4)))->id;
    auto* button = m_doc.Put<TUserButton>(30, 40, 31, 31);
    button->upFace = {kFaceImage, logo};
    m_doc.Put<TUserImage>(100, 40, 10, 10);
    m_doc.canvas.SetSelection({button});
    QTest::keyClick(&m_doc.canvas, Qt::Key_C, Qt::ControlModifier);

    TCanvasDoc other;
    const size_t pictures = other.layout.images.Size();
    QTest::keyClick(&other.canvas, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&other.canvas, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(other.page->objects.size(), 2u);
    EXPECT_EQ(other.layout.images.Size(), pictures + 1) << "the picture once";
    EXPECT_EQ(other.page->objects[0]->Rect(), R(30, 40, 31, 31)) << "where it was";
    const auto* pasted = static_cast<const TUserButton*>(other.page->objects[1].get());
    EXPECT_NE(pasted->upFace.param, 0);
    EXPECT_EQ(other.canvas.Selection(), std::vector<TUserObject*>{other.page->objects[1].get()});
    Menu(other.canvas, {200, 150}, QStringLiteral("Paste"));
    EXPECT_EQ(other.page->objects[2]->Rect(), R(200, 150, 31, 31)) << "at the click point";
    other.canvas.History().Undo();
    other.canvas.History().Undo();
    other.canvas.History().Undo();
    EXPECT_TRUE(other.page->objects.empty());
    EXPECT_EQ(other.layout.images.Size(), pictures) << "the picture leaves with the first paste's undo";

    // On its own page: 10 pixels on; Duplicate the same; Cut takes it away.
    QTest::keyClick(&m_doc.canvas, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_doc.page->objects.back()->Rect(), R(40, 50, 31, 31));
    QTest::keyClick(&m_doc.canvas, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(m_doc.page->objects.back()->Rect(), R(50, 60, 31, 31));
    EXPECT_EQ(m_doc.page->objects.size(), 4u);
    QTest::keyClick(&m_doc.canvas, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(m_doc.page->objects.size(), 3u);
    EXPECT_TRUE(m_ui.messages.empty()) << "Cut asks nothing";
}

// Arrange from the menu on three objects, the key one leading; one step.
TEST_F(CanvasSelectionTest, ArrangeFromTheMenu)
{
    CQelWnd& canvas = m_doc.canvas;
    TUserObject* a = m_doc.Put<TUserImage>(20, 10, 20, 20);
    TUserObject* b = m_doc.Put<TUserImage>(50, 40, 30, 20);
    TUserObject* c = m_doc.Put<TUserImage>(100, 80, 40, 40);

    canvas.SetSelection({a});
    Menu(canvas, {25, 15}, QStringLiteral("Arrange/Distribute Horizontally"));
    EXPECT_EQ(canvas.History().Stack().count(), 0) << "disabled for one object";

    canvas.SetSelection({b, a, c});
    Menu(canvas, {25, 15}, QStringLiteral("Arrange/Align Left"));
    EXPECT_EQ(a->Rect(), R(50, 10, 20, 20));
    EXPECT_EQ(c->Rect(), R(50, 80, 40, 40));
    EXPECT_EQ(canvas.History().Stack().count(), 1);
    EXPECT_EQ(canvas.History().UndoText(), QStringLiteral("Align Left"));
    Menu(canvas, {25, 15}, QStringLiteral("Arrange/Same Size"));
    EXPECT_EQ(c->Rect(), R(50, 80, 30, 20));
    canvas.History().Undo();
    canvas.History().Undo();
    EXPECT_EQ(a->Rect(), R(20, 10, 20, 20));
    EXPECT_EQ(c->Rect(), R(100, 80, 40, 40));
}

// At 3x zoom a drag comes to another object's edge within 4 panel pixels,
// a guide line shows while it holds, and Alt drags freely; the grid from the
// menu is snapped to as well.
TEST_F(CanvasSelectionTest, DragsSnapAtEveryZoom)
{
    CQelWnd& canvas = m_doc.canvas;
    canvas.SetZoom(3);
    canvas.resize(canvas.ShownPageSize());
    m_doc.Put<TUserImage>(100, 50, 40, 40);
    TUserObject* moving = m_doc.Put<TUserImage>(10, 150, 30, 30);

    m_held = Qt::LeftButton;
    Mouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, {20, 160});
    Mouse(canvas, QEvent::MouseMove, Qt::NoButton, {107, 161});
    EXPECT_EQ(moving->Rect(), R(100, 151, 30, 30)) << "97 came to 100";
    EXPECT_EQ(canvas.GuideX(), 100);
    const QImage shown = canvas.grab().toImage();
    EXPECT_EQ(shown.pixelColor(canvas.ToWidget({100, 10}) + QPoint(1, 1)), QColor(255, 0, 255))
        << "the guide";
    Mouse(canvas, QEvent::MouseMove, Qt::NoButton, {107, 161}, Qt::AltModifier);
    EXPECT_EQ(moving->Rect(), R(97, 151, 30, 30)) << "Alt held";
    EXPECT_FALSE(canvas.GuideX());
    Mouse(canvas, QEvent::MouseMove, Qt::NoButton, {108, 161});
    Mouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, {108, 161});
    m_held = Qt::NoButton;
    EXPECT_EQ(moving->Rect(), R(100, 151, 30, 30));
    EXPECT_FALSE(canvas.GuideX()) << "gone with the drag";
    EXPECT_EQ(canvas.History().Stack().count(), 1);

    Menu(canvas, {5, 5}, QStringLiteral("Grid/20 Pixels"));
    EXPECT_EQ(canvas.Grid(), 20);
    EXPECT_EQ(CanvasGrid(), 20) << "remembered";
    Drag(canvas, {110, 160}, {112, 198});
    EXPECT_EQ(moving->Rect(), R(100, 190, 30, 30)) << "the bottom came to the grid line at 220";
}

// A double click opens the object's properties, as the menu's Properties does.
TEST_F(CanvasSelectionTest, DoubleClickOpensTheProperties)
{
    CQelWnd& canvas = m_doc.canvas;
    TUserObject* image = m_doc.Put<TUserImage>(10, 10, 40, 40);
    m_held = Qt::LeftButton;
    Mouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, {20, 20});
    Mouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, {20, 20});
    Mouse(canvas, QEvent::MouseButtonDblClick, Qt::LeftButton, {20, 20});
    Mouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, {20, 20});
    m_held = Qt::NoButton;
    ASSERT_EQ(m_ui.dialogsShown.size(), 1);
    EXPECT_EQ(m_ui.dialogsShown.back(), QStringLiteral("Face Definition"));
    EXPECT_EQ(image->Rect(), R(10, 10, 40, 40));
}

// F2 (or a click on the position line) edits the line: Enter places the
// selection exactly as typed, one step; Escape and a line that is no four
// numbers leave it.
TEST_F(CanvasSelectionTest, TypedGeometryPlacesTheSelection)
{
    CQelWnd& canvas = m_doc.canvas;
    CPositionLine line(canvas);
    line.resize(300, 20);
    line.show();
    TUserObject* a = m_doc.Put<TUserImage>(10, 10, 40, 40);
    TUserObject* b = m_doc.Put<TUserImage>(60, 30, 20, 20);
    auto* edit = DlgItem<QLineEdit>(&line, CPositionLine::kEditId);
    ASSERT_NE(edit, nullptr);
    const auto type = [&](const QString& text, Qt::Key end)
    {
        QTest::keyClick(&canvas, Qt::Key_F2);
        ASSERT_TRUE(line.IsEditing());
        edit->setText(text);
        QTest::keyClick(edit, end);
        EXPECT_FALSE(line.IsEditing());
    };

    canvas.SetSelection({a});
    QTest::keyClick(&canvas, Qt::Key_F2);
    EXPECT_EQ(edit->text(), QStringLiteral("10, 10, 40, 40"));
    QTest::keyClick(edit, Qt::Key_Escape);
    type(QStringLiteral("5, 6, 70, 80"), Qt::Key_Return);
    EXPECT_EQ(a->Rect(), R(5, 6, 70, 80));
    type(QStringLiteral("1 2 3 4"), Qt::Key_Escape);
    type(QStringLiteral("1, 2, three, 4"), Qt::Key_Return);
    EXPECT_EQ(a->Rect(), R(5, 6, 70, 80));
    EXPECT_EQ(canvas.History().Stack().count(), 1);

    canvas.SetSelection({a, b});
    type(QStringLiteral("100 100 1 1"), Qt::Key_Enter);
    EXPECT_EQ(a->Rect(), R(100, 100, 70, 80)) << "several move together; their sizes stay";
    EXPECT_EQ(b->Rect(), R(155, 124, 20, 20));
    EXPECT_EQ(canvas.History().Stack().count(), 2);
}

} // namespace

namespace
{

// Fit Picture to Object: a picture shown at another size becomes one of the
// object's size; the old one stays while something else shows it, and each
// fit is one step, undone byte for byte.
TEST_F(CanvasSelectionTest, FitPictureToObjectMakesAPictureOfItsSize)
{
    auto picture = std::make_unique<CImageBuffer>();
    ASSERT_TRUE(picture->Data().Create(100, 50, 24));
    const int32_t wide = m_doc.layout.images.AddImage(u"Logo", std::move(picture))->id;
    TUserImage* image = m_doc.Put<TUserImage>(10, 10, 50, 25);
    image->face = {kFaceImage, wide};
    TUserButton* button = m_doc.Put<TUserButton>(100, 100, 40, 20);
    button->upFace = {kFaceImage, wide};
    const std::vector<uint8_t> before = m_doc.layout.SaveToBytes();
    CLayoutHistory& history = m_doc.canvas.History();

    Menu(m_doc.canvas, {20, 20}, QStringLiteral("Fit Picture to Object"));
    auto* fitted = static_cast<TUserImage*>(m_doc.page->objects[0].get());
    ASSERT_NE(fitted->face.param, wide);
    const TImageEntry* made = m_doc.layout.images.FindImage(fitted->face.param);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->image->GetWidth(), 50u);
    EXPECT_EQ(made->image->GetHeight(), 25u);
    EXPECT_NE(m_doc.layout.images.FindImage(wide), nullptr) << "the button still shows it";
    EXPECT_EQ(history.UndoText(), QStringLiteral("Fit Picture to Object"));
    const std::vector<uint8_t> once = m_doc.layout.SaveToBytes();

    Menu(m_doc.canvas, {110, 110}, QStringLiteral("Fit Picture to Object"));
    EXPECT_EQ(m_doc.layout.images.FindImage(wide), nullptr) << "nothing shows it any more";
    history.Undo();
    EXPECT_EQ(m_doc.layout.SaveToBytes(), once);
    history.Undo();
    EXPECT_EQ(m_doc.layout.SaveToBytes(), before);

    m_ui.menusShown.clear();
    Menu(m_doc.canvas, {300, 200}, QString());
    EXPECT_FALSE(m_ui.menusShown.back().split(u',').contains(QStringLiteral("Fit Picture to Object")))
        << "no object, no fitting";
}

} // namespace
