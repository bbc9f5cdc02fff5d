#include "ScrollDialog.h"

#include "DialogDriver.h"

#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace
{

using EScroll = CScrollDialog::EScroll;

// A small dialog with an edit at its top and one at its bottom right.
class ScrollDialogTest : public ::testing::Test
{
protected:
    enum EControl : int
    {
        kOk = 1,
        kTop = 1000,
        kBottom = 1001,
    };

    static const TDlgTemplate& Template()
    {
        static const TDlgTemplate tmpl{
            0,
            QStringLiteral("Scrolling"),
            240,
            200,
            {
                {kTop, EControlKind::Edit, {}, 5, 5, 100, 14, kStyleBorder},
                {kBottom, EControlKind::Edit, {}, 130, 180, 100, 14, kStyleBorder},
                {kOk, EControlKind::DefButton, QStringLiteral("OK"), 5, 180, 50, 14},
            }};
        return tmpl;
    }

    ScrollDialogTest() { m_dlg.show(); }

    void Resize(QSize size)
    {
        m_dlg.resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(m_dlg.size(), size);
    }
    // The width or height of a shown scroll bar.
    int Bar() const
    {
        return m_dlg.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_dlg.ScrollBar(Qt::Vertical));
    }

    CScrollDialog m_dlg{Template()};
};

TEST_F(ScrollDialogTest, StepsRangesAndGripperFollowTheWindowSize)
{
    const QSize designed = m_dlg.DesignedSize();
    ASSERT_EQ(designed, CDialogUnits(m_dlg.font()).ToPixels(0, 0, 240, 200).size());
    struct TRequest
    {
        Qt::Orientation bar;
        EScroll code;
        int thumb;
        QPoint contentAt; // where the controls stand afterwards
    };
    struct TCase
    {
        const char* what;
        QSize window;
        int hOverflow;
        int vOverflow;
        bool gripper;
        std::vector<TRequest> requests;
    };
    const int bar = Bar();
    const TCase cases[] = {
        {"as designed", designed, 0, 0, true, {{Qt::Vertical, EScroll::PageForward, 0, {0, 0}}}},
        {"larger", designed + QSize(50, 40), -6, -10, true, {{Qt::Horizontal, EScroll::ToEnd, 0, {0, 0}}}},
        {"7 px narrower",
         designed - QSize(7, 0),
         0,
         0,
         true,
         {{Qt::Horizontal, EScroll::LineForward, 0, {0, 0}}}},
        {"100 px shorter, the bar's width wider",
         designed + QSize(bar, -100),
         0,
         25,
         false,
         {
             {Qt::Vertical, EScroll::PageForward, 0, {0, -100}},
             {Qt::Vertical, EScroll::PageForward, 0, {0, -100}},
             {Qt::Vertical, EScroll::LineBack, 0, {0, -96}},
             {Qt::Vertical, EScroll::ToStart, 0, {0, 0}},
             {Qt::Vertical, EScroll::LineBack, 0, {0, 0}},
             {Qt::Vertical, EScroll::ThumbTrack, 10, {0, -40}},
             {Qt::Vertical, EScroll::ThumbTrack, 99, {0, -100}},
             {Qt::Vertical, EScroll::EndScroll, 0, {0, -100}},
             {Qt::Horizontal, EScroll::PageForward, 0, {0, -100}},
         }},
        // The vertical bar takes its width from the client: that overflows too.
        {"100 px shorter", designed - QSize(0, 100), bar / 8, (100 + bar) / 4, false, {}},
        {"100 px narrower, the bar's height taller",
         designed + QSize(-100, bar),
         12,
         0,
         false,
         {
             {Qt::Horizontal, EScroll::PageForward, 0, {-64, 0}},
             {Qt::Horizontal, EScroll::PageForward, 0, {-96, 0}},
             {Qt::Horizontal, EScroll::PageBack, 0, {-32, 0}},
             {Qt::Horizontal, EScroll::ToEnd, 0, {-96, 0}},
             {Qt::Vertical, EScroll::ToEnd, 0, {-96, 0}},
         }},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        Resize(c.window);
        EXPECT_EQ(m_dlg.HorizontalOverflow(), c.hOverflow);
        EXPECT_EQ(m_dlg.VerticalOverflow(), c.vOverflow);
        EXPECT_EQ(m_dlg.HorizontalMaximum(), std::max(c.hOverflow, 0));
        EXPECT_EQ(m_dlg.VerticalMaximum(), std::max(c.vOverflow, 0));
        for (const Qt::Orientation o : {Qt::Horizontal, Qt::Vertical})
        {
            const QScrollBar* sb = m_dlg.ScrollBar(o);
            const int maximum = o == Qt::Horizontal ? m_dlg.HorizontalMaximum() : m_dlg.VerticalMaximum();
            EXPECT_EQ(sb->isVisible(), maximum > 0) << o;
            EXPECT_EQ(sb->maximum(), maximum) << o;
        }
        EXPECT_EQ(m_dlg.Gripper()->isVisible(), c.gripper);
        if (c.gripper)
        {
            EXPECT_EQ(m_dlg.Gripper()->geometry().bottomRight(), m_dlg.rect().bottomRight());
        }
        for (const TRequest& r : c.requests)
        {
            m_dlg.ScrollRequest(r.bar, r.code, r.thumb);
            EXPECT_EQ(m_dlg.Content()->pos(), r.contentAt) << int(r.code);
            EXPECT_EQ(m_dlg.HorizontalPosition(), -r.contentAt.x() / 8);
            EXPECT_EQ(m_dlg.VerticalPosition(), -r.contentAt.y() / 4);
            EXPECT_EQ(m_dlg.ScrollBar(Qt::Vertical)->value(), m_dlg.VerticalPosition());
            EXPECT_EQ(m_dlg.ScrollBar(Qt::Horizontal)->value(), m_dlg.HorizontalPosition());
        }
    }
}

TEST_F(ScrollDialogTest, ResizingWhileScrolledScrollsBackFirst)
{
    const QSize designed = m_dlg.DesignedSize();
    Resize(designed - QSize(100, 100));
    m_dlg.ScrollRequest(Qt::Vertical, EScroll::ToEnd);
    m_dlg.ScrollRequest(Qt::Horizontal, EScroll::ToEnd);
    ASSERT_NE(m_dlg.Content()->pos(), QPoint(0, 0));
    Resize(designed - QSize(60, 60));
    EXPECT_EQ(m_dlg.Content()->pos(), QPoint(0, 0));
    EXPECT_EQ(m_dlg.VerticalPosition(), 0);
    EXPECT_EQ(m_dlg.HorizontalPosition(), 0);
    EXPECT_EQ(m_dlg.ScrollBar(Qt::Vertical)->value(), 0);

    m_dlg.ScrollRequest(Qt::Vertical, EScroll::ToEnd);
    Resize(designed);
    EXPECT_EQ(m_dlg.Content()->pos(), QPoint(0, 0));
    EXPECT_TRUE(m_dlg.Gripper()->isVisible());
}

TEST_F(ScrollDialogTest, MaximisedHidesTheGripper)
{
    m_dlg.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(m_dlg.isMaximized());
    ASSERT_GE(m_dlg.width(), m_dlg.DesignedSize().width());
    ASSERT_GE(m_dlg.height(), m_dlg.DesignedSize().height());
    EXPECT_LE(m_dlg.VerticalOverflow(), 0);
    EXPECT_FALSE(m_dlg.Gripper()->isVisible());

    m_dlg.showNormal();
    QCoreApplication::processEvents();
    Resize(m_dlg.DesignedSize());
    EXPECT_TRUE(m_dlg.Gripper()->isVisible());
}

TEST_F(ScrollDialogTest, BarsWheelAndFocusScrollByTheSameRules)
{
    Resize(m_dlg.DesignedSize() + QSize(Bar(), -100));
    QScrollBar* vertical = m_dlg.ScrollBar(Qt::Vertical);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(m_dlg.VerticalPosition(), 25) << "a page is the whole overflow, whatever Qt's page step";
    vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(m_dlg.VerticalPosition(), 24);
    vertical->setSliderPosition(3);
    EXPECT_EQ(m_dlg.VerticalPosition(), 3);
    EXPECT_EQ(m_dlg.Content()->pos(), QPoint(0, -12));

    // The wheel over a control, which the controls pass on to the dialog,
    // scrolls it.
    QWidget* top = DlgItem<QWidget>(&m_dlg, kTop);
    QWheelEvent wheel(QPointF(5, 5), m_dlg.mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&m_dlg, &wheel);
    EXPECT_GT(m_dlg.VerticalPosition(), 3);
    EXPECT_EQ(m_dlg.Content()->pos(), QPoint(0, -4 * m_dlg.VerticalPosition()));

    // Tab to a control out of sight brings it in.
    m_dlg.ScrollRequest(Qt::Vertical, EScroll::ToStart);
    m_dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dlg));
    top->setFocus();
    QTest::keyClick(top, Qt::Key_Tab);
    QWidget* bottom = DlgItem<QWidget>(&m_dlg, kBottom);
    ASSERT_TRUE(bottom->hasFocus());
    const QRect shown(bottom->mapTo(&m_dlg, QPoint(0, 0)), bottom->size());
    EXPECT_TRUE(QRect(QPoint(0, 0), m_dlg.ClientSize()).contains(shown)) << m_dlg.VerticalPosition();
}

} // namespace

namespace
{

// Taller than the screen and narrow: it opens within the screen's free area,
// scrolling down, and wide enough beside its bar to need none across.
TEST(ScrollDialogOnScreen, ATallDialogOpensWithinTheFreeAreaWithOneBar)
{
    static const TDlgTemplate tall{
        0, QStringLiteral("Tall"), 150, 2000, {{1000, EControlKind::Edit, {}, 5, 1980, 100, 14, kStyleBorder}}};
    CScrollDialog dlg(tall);
    const QRect free = dlg.screen()->availableGeometry();
    ASSERT_GT(dlg.DesignedSize().height(), free.height());
    ASSERT_LT(dlg.DesignedSize().width() + 40, free.width());
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(free.contains(dlg.frameGeometry()));
    EXPECT_GT(dlg.VerticalMaximum(), 0);
    EXPECT_EQ(dlg.HorizontalMaximum(), 0);
    EXPECT_FALSE(dlg.ScrollBar(Qt::Horizontal)->isVisible());
}

} // namespace
