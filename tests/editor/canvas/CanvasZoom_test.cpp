#include "CanvasZoom.h"

#include "DialogDriver.h"
#include "Layout.h"
#include "PositionLine.h"
#include "QelFaceDlg.h"
#include "QelUserDlg.h"
#include "QelWnd.h"
#include "RasterView.h"
#include "ScriptedUiServices.h"
#include "UserButton.h"
#include "UserPage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QWheelEvent>

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace
{

class CanvasZoomTest : public ::testing::Test
{
protected:
    CanvasZoomTest() : m_page(u"Lobby", 10000)
    {
        auto button = std::make_unique<TUserButton>();
        button->SetRect({30, 30, 40, 40});
        m_button = m_page.AppendObject(std::move(button));
    }
    // The zoom is one setting for the run; no test leaves it changed.
    ~CanvasZoomTest() override { SetCanvasZoom(1); }

    static void Mouse(QWidget& canvas, QEvent::Type type, QPoint at)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(canvas.mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    }
    static void Wheel(QWidget& canvas, int angle, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent event(QPointF(10, 10), QPointF(canvas.mapToGlobal(QPoint(10, 10))), QPoint(),
                          QPoint(0, angle), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &event);
    }

    TLayout m_layout;
    TUserPage m_page;
    TUserObject* m_button;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
};

// Mouse positions become panel pixels first: a corner square takes the same
// panel pixels at 3x as at 1x, and a drag at 2x moves by half the distance
// the mouse went on the screen, in whole panel pixels.
TEST_F(CanvasZoomTest, TheMouseWorksInPanelPixelsAtEveryZoom)
{
    CQelWnd canvas(m_layout, m_page);
    canvas.SetZoom(3);
    canvas.show();
    EXPECT_EQ(canvas.size(), QSize(960, 720));
    // The bottom-right square holds panel x and y 66 to 73: screen 198 to 221.
    struct TCase
    {
        QPoint press;
        bool resizes;
    };
    for (const TCase& c : {TCase{{221, 221}, true}, TCase{{198, 198}, true}, TCase{{222, 222}, false}})
    {
        m_button->SetRect({30, 30, 40, 40});
        canvas.SetSelected(m_button);
        Mouse(canvas, QEvent::MouseButtonPress, c.press);
        Mouse(canvas, QEvent::MouseMove, c.press + QPoint(30, 15));
        Mouse(canvas, QEvent::MouseButtonRelease, c.press + QPoint(30, 15));
        EXPECT_EQ(m_button->Rect(), c.resizes ? (TObjectRect{30, 30, 50, 45}) : (TObjectRect{30, 30, 40, 40}))
            << c.press.x();
    }

    canvas.SetZoom(2);
    EXPECT_EQ(canvas.size(), QSize(640, 480));
    m_button->SetRect({30, 30, 40, 40});
    canvas.SetSelected(m_button);
    Mouse(canvas, QEvent::MouseButtonPress, {80, 80});
    Mouse(canvas, QEvent::MouseMove, {80 + 51, 80 + 30});
    EXPECT_EQ(m_button->Rect(), (TObjectRect{55, 45, 40, 40})) << "25 and 15 panel pixels, never a half";
    Mouse(canvas, QEvent::MouseButtonRelease, {80 + 51, 80 + 30});
}

// On a screen whose device pixel ratio is above 1 a panel pixel still covers
// whole device pixels, at least one, never more than the zoom asks for.
TEST_F(CanvasZoomTest, APanelPixelCoversWholeDevicePixels)
{
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 2.5})
        for (int zoom = kMinCanvasZoom; zoom <= kMaxCanvasZoom; ++zoom)
        {
            const qreal device = CRasterView::ShownScale(zoom, ratio) * ratio;
            EXPECT_NEAR(device, std::round(device), 1e-9) << zoom << " at " << ratio;
            EXPECT_GE(std::round(device), 1);
            EXPECT_LE(device, zoom * ratio + 1e-9);
        }
}

// Ctrl + wheel and Ctrl + plus and minus zoom; the dialog grows to hold the
// canvas, keeps its buttons below it on the screen, and the zoom is kept for
// the next page opened. The property dialogs' previews stay 1:1.
TEST_F(CanvasZoomTest, TheDialogGrowsWithTheZoomAndRemembersIt)
{
    CQelUserDlg dlg(m_layout, m_page);
    dlg.show();
    CQelWnd& canvas = *dlg.Canvas();
    const QSize small = dlg.size();
    EXPECT_EQ(canvas.Zoom(), 1);

    Wheel(canvas, 120, Qt::NoModifier);
    EXPECT_EQ(canvas.Zoom(), 1) << "the wheel alone scrolls";
    Wheel(canvas, 60, Qt::ControlModifier);
    EXPECT_EQ(canvas.Zoom(), 1) << "half a notch";
    Wheel(canvas, 60, Qt::ControlModifier);
    EXPECT_EQ(canvas.Zoom(), 2);
    EXPECT_EQ(CanvasZoom(), 2);
    EXPECT_EQ(canvas.size(), QSize(640, 480));
    EXPECT_GT(dlg.width(), small.width());
    EXPECT_GT(dlg.height(), small.height());

    PressKeys(&dlg, QKeySequence(Qt::CTRL | Qt::Key_Plus));
    PressKeys(&dlg, QKeySequence(Qt::CTRL | Qt::Key_Plus));
    PressKeys(&dlg, QKeySequence(Qt::CTRL | Qt::Key_Plus));
    EXPECT_EQ(canvas.Zoom(), kMaxCanvasZoom);
    // However large the page, the dialog fits the screen and Save stays
    // below the canvas's view and the position line.
    const QRect screen = dlg.screen()->availableGeometry();
    EXPECT_LE(dlg.width(), screen.width());
    EXPECT_LE(dlg.height(), screen.height());
    const auto* view = dlg.findChild<QScrollArea*>();
    ASSERT_NE(view, nullptr);
    const QRect save = DlgItem<QWidget>(&dlg, CQelUserDlg::kSave)->geometry();
    EXPECT_GT(save.top(), dlg.PositionLine()->geometry().bottom());
    EXPECT_GT(dlg.PositionLine()->geometry().top(), view->geometry().bottom());
    EXPECT_TRUE(dlg.rect().contains(save));

    // A new page opens at the zoom last chosen, and zooms back out.
    CQelUserDlg next(m_layout, m_page);
    next.show();
    EXPECT_EQ(next.Canvas()->Zoom(), kMaxCanvasZoom);
    for (int i = 0; i < 4; ++i)
        PressKeys(&next, QKeySequence(Qt::CTRL | Qt::Key_Minus));
    EXPECT_EQ(next.Canvas()->Zoom(), 1);
    EXPECT_EQ(next.size(), small);

    SetCanvasZoom(3);
    CQelUserDlg zoomed(m_layout, m_page);
    m_ui.dialogAnswers.push_back(
        [](QDialog& face)
        {
            const auto* preview = DlgItem<CRasterView>(&face, CQelFaceDlg::kPreview);
            ASSERT_NE(preview, nullptr);
            EXPECT_EQ(preview->Scale(), 1);
        });
    zoomed.Canvas()->RunCommand(CQelWnd::kBackground, {}, nullptr);
    EXPECT_EQ(m_ui.dialogsShown.back(), QStringLiteral("Face Definition"));
}

// While a drag is under way neither the zoom keys nor Ctrl + wheel change
// the scale under the held object; after it they do again.
TEST_F(CanvasZoomTest, ZoomWaitsForTheDrag)
{
    CQelUserDlg dlg(m_layout, m_page);
    dlg.show();
    CQelWnd& canvas = *dlg.Canvas();
    canvas.setFocus();
    Mouse(canvas, QEvent::MouseButtonPress, {40, 40});
    Mouse(canvas, QEvent::MouseMove, {45, 42});
    ASSERT_TRUE(canvas.IsDragging());
    PressKeys(&dlg, QKeySequence(Qt::CTRL | Qt::Key_Plus));
    QTest::keyClick(&canvas, Qt::Key_Plus, Qt::ControlModifier);
    Wheel(canvas, 120, Qt::ControlModifier);
    Wheel(canvas, -120, Qt::ControlModifier);
    EXPECT_EQ(canvas.Zoom(), 1);
    EXPECT_EQ(CanvasZoom(), 1);
    Mouse(canvas, QEvent::MouseMove, {50, 44});
    Mouse(canvas, QEvent::MouseButtonRelease, {50, 44});
    EXPECT_EQ(m_button->Rect(), (TObjectRect{40, 34, 40, 40})) << "the drag went on at 1x";

    Wheel(canvas, 120, Qt::ControlModifier);
    EXPECT_EQ(canvas.Zoom(), 2);
    QTest::keyClick(&canvas, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(canvas.Zoom(), 1);
}

// Zoom and grid are read from the settings at start and written there as
// they change, for the next run.
TEST_F(CanvasZoomTest, ZoomAndGridOutliveTheRun)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    {
        QSettings before(file, QSettings::IniFormat);
        before.setValue(QStringLiteral("canvas/zoom"), 3);
        before.setValue(QStringLiteral("canvas/grid"), 10);
    }
    RememberCanvasSettings(file);
    EXPECT_EQ(CanvasZoom(), 3);
    EXPECT_EQ(CanvasGrid(), 10);
    SetCanvasZoom(2);
    SetCanvasGrid(0);
    ForgetCanvasSettings();
    SetCanvasZoom(4);
    QSettings after(file, QSettings::IniFormat);
    EXPECT_EQ(after.value(QStringLiteral("canvas/zoom")).toInt(), 2);
    EXPECT_EQ(after.value(QStringLiteral("canvas/grid")).toInt(), 0);
}

} // namespace
