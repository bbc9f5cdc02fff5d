#include "PositionLine.h"

#include "CanvasZoom.h"
#include "DialogDriver.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "QelUserDlg.h"
#include "QelWnd.h"
#include "ScriptedUiServices.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace
{

void Mouse(QWidget& canvas, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(canvas.mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &event);
}

TEST(PositionLineTest, NamesEachKindWithItsPlaceAndSize)
{
    TUserButton selection;
    selection.selectorId = 3;
    selection.SetRect({-5, 7, 0, 300});
    TUserLevel level;
    level.SetRect({1, 2, 45, 130});
    EXPECT_EQ(CPositionLine::Describe(&selection, QPoint(1, 1)),
              QStringLiteral("Selection: x -5, y 7, width 0, height 300"));
    EXPECT_EQ(CPositionLine::Describe(&level, std::nullopt),
              QStringLiteral("Slider: x 1, y 2, width 45, height 130"));
    EXPECT_EQ(CPositionLine::Describe(nullptr, QPoint(319, 0)), QStringLiteral("Pointer: x 319, y 0"));
    EXPECT_EQ(CPositionLine::Describe(nullptr, std::nullopt), QString());
}

// The line follows a drag as it happens, the keys and an undo; with nothing
// selected it shows the panel pixel under the pointer, at any zoom.
TEST(PositionLineTest, FollowsTheSelectionAsItChanges)
{
    CScriptedUiServices ui;
    CUiServicesOverride use(ui);
    TLayout layout;
    CLayoutHistory history(layout);
    TUserPage page(u"Lobby", 10000);
    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->SetRect({10, 20, 80, 40});
    page.AppendObject(std::move(hotspot));
    SetCanvasZoom(2);
    CQelUserDlg dlg(layout, page, history);
    SetCanvasZoom(1);
    CQelWnd& canvas = *dlg.Canvas();
    const auto line = [&dlg] { return dlg.PositionLine()->text(); };

    Mouse(canvas, QEvent::MouseMove, {101, 51}, Qt::NoButton);
    EXPECT_EQ(line(), QStringLiteral("Pointer: x 50, y 25"));
    Mouse(canvas, QEvent::MouseButtonPress, {40, 60}, Qt::LeftButton);
    EXPECT_EQ(line(), QStringLiteral("Hot Spot: x 10, y 20, width 80, height 40"));
    Mouse(canvas, QEvent::MouseMove, {60, 70}, Qt::LeftButton);
    EXPECT_EQ(line(), QStringLiteral("Hot Spot: x 20, y 25, width 80, height 40")) << "during the drag";
    Mouse(canvas, QEvent::MouseButtonRelease, {60, 70}, Qt::NoButton);
    QTest::keyClick(&canvas, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(line(), QStringLiteral("Hot Spot: x 10, y 25, width 80, height 40"));
    history.Undo();
    history.Undo();
    EXPECT_EQ(line(), QStringLiteral("Hot Spot: x 10, y 20, width 80, height 40"));

    canvas.SetSelected(nullptr);
    EXPECT_EQ(line(), QStringLiteral("Pointer: x 30, y 35")) << "where the pointer was left";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&canvas, &leave);
    EXPECT_EQ(line(), QString());
}

} // namespace

namespace
{

// A zoom change reads the pointer again: the same place on the screen is
// another panel pixel.
TEST(PositionLineTest, AZoomReadsThePointerAgain)
{
    TLayout layout;
    TUserPage page(u"Lobby", 10000);
    CQelWnd canvas(layout, page);
    CPositionLine line(canvas);
    canvas.SetZoom(1);
    canvas.show();
    QCursor::setPos(canvas.mapToGlobal(QPoint(40, 40)));
    Mouse(canvas, QEvent::MouseMove, QPoint(40, 40), Qt::NoButton);
    EXPECT_EQ(line.text(), QStringLiteral("Pointer: x 40, y 40"));
    canvas.SetZoom(2);
    EXPECT_EQ(line.text(), QStringLiteral("Pointer: x 20, y 20"));
    canvas.SetZoom(1);
}

} // namespace
