#include "ColourPalettePopup.h"

#include "DialogDriver.h"

#include <QHelpEvent>
#include <QImage>
#include <QPointer>
#include <QStyle>
#include <QToolTip>

#include <gtest/gtest.h>

namespace
{

using P = CColourPalettePopup;

const QString kAuto = QStringLiteral("Automatic");
const QString kMore = QStringLiteral("More Colors...");

// A palette of its own, closed (and so deleted) at the end of the test.
class CPalette
{
public:
    explicit CPalette(uint32_t colour, const QString& defaultText = kAuto, const QString& customText = kMore)
        : m_popup(new P(QPoint(100, 100), colour, nullptr, defaultText, customText))
    {
        QObject::connect(m_popup, &P::Notify,
                         [this](int code, uint32_t c)
                         {
                             if (code == kCpnSelChange)
                                 reported.push_back(c);
                         });
    }
    ~CPalette()
    {
        if (m_popup)
            m_popup->close();
    }
    CPalette(const CPalette&) = delete;
    CPalette& operator=(const CPalette&) = delete;

    P* operator->() const { return m_popup; }
    P* get() const { return m_popup; }

    std::vector<uint32_t> reported;

private:
    QPointer<P> m_popup;
};

TEST(ColourPalettePopup, ArrowKeysMoveThroughTheCellsAndBoxes)
{
    constexpr uint32_t kOdd = 0x030201;
    const uint32_t white = P::ColourAt(39);
    struct TCase
    {
        bool automatic; // the "Automatic" box is there
        bool more;      // the "More Colors..." box is there
        uint32_t open;
        Qt::Key key;
        int to;
    };
    const TCase cases[] = {
        {true, true, P::ColourAt(0), Qt::Key_Left, P::kAutomaticBox},
        {true, true, kAutomaticColour, Qt::Key_Up, P::kMoreColoursBox},
        {true, true, kOdd, Qt::Key_Up, 39},
        {true, true, P::ColourAt(7), Qt::Key_Right, 8},
        {true, true, P::ColourAt(8), Qt::Key_Left, 7},
        {true, true, P::ColourAt(3), Qt::Key_Down, 11},
        {true, true, P::ColourAt(11), Qt::Key_Up, 3},
        {true, true, white, Qt::Key_Right, P::kMoreColoursBox},
        {true, true, P::ColourAt(35), Qt::Key_Down, P::kMoreColoursBox},
        {true, true, P::ColourAt(3), Qt::Key_Up, P::kAutomaticBox},
        {true, true, kAutomaticColour, Qt::Key_Right, 0},
        {true, true, kAutomaticColour, Qt::Key_Down, 0},
        {true, true, kAutomaticColour, Qt::Key_Left, P::kMoreColoursBox},
        {true, true, kOdd, Qt::Key_Right, P::kAutomaticBox},
        {true, true, kOdd, Qt::Key_Down, P::kAutomaticBox},
        {true, true, kOdd, Qt::Key_Left, 39},
        {false, true, P::ColourAt(0), Qt::Key_Left, P::kMoreColoursBox},
        {false, true, kOdd, Qt::Key_Right, 0},
        {true, false, white, Qt::Key_Right, P::kAutomaticBox},
        {true, false, kAutomaticColour, Qt::Key_Up, 39},
        {false, false, P::ColourAt(0), Qt::Key_Left, 39},
        {false, false, white, Qt::Key_Right, 0},
        {false, false, P::ColourAt(36), Qt::Key_Down, 0},
    };
    for (const TCase& c : cases)
    {
        CPalette popup(c.open, c.automatic ? kAuto : QString(), c.more ? kMore : QString());
        const int from = popup->CurrentSelection();
        QTest::keyClick(popup.get(), c.key);
        const uint32_t expected = c.to == P::kAutomaticBox     ? kAutomaticColour
                                  : c.to == P::kMoreColoursBox ? c.open
                                                               : P::ColourAt(c.to);
        EXPECT_EQ(popup->CurrentSelection(), c.to) << "key " << c.key << " from " << from;
        EXPECT_EQ(popup.reported, std::vector<uint32_t>{expected}) << "key " << c.key << " from " << from;
    }

    CPalette popup(P::ColourAt(5));
    QTest::keyClick(popup.get(), Qt::Key_A);
    QTest::keyClick(popup.get(), Qt::Key_Tab);
    EXPECT_EQ(popup->CurrentSelection(), 5) << "other keys do nothing";
    EXPECT_TRUE(popup.reported.empty());
}

TEST(ColourPalettePopup, CellsOfEighteenPixelsWithinTheStyleMargins)
{
    for (const QString& automatic : {kAuto, QStringLiteral("No particular colour, whatever the face says")})
    {
        CPalette popup(kAutomaticColour, automatic);
        const int m = popup->Margin();
        EXPECT_EQ(m, std::max(1, popup->style()->pixelMetric(QStyle::PM_DefaultFrameWidth)));
        EXPECT_EQ(popup->BoxSize(), 18);
        const QRect top = popup->CellRect(P::kAutomaticBox);
        const QRect bottom = popup->CellRect(P::kMoreColoursBox);
        const QRect first = popup->CellRect(0);
        EXPECT_EQ(top.topLeft(), QPoint(m, m));
        EXPECT_EQ(top.width(), popup->width() - 2 * m);
        EXPECT_EQ(bottom.width(), popup->width() - 2 * m);
        EXPECT_EQ(first.topLeft(), QPoint(m, top.bottom() + 1 + m));
        EXPECT_GE(popup->width(), 8 * 18 + 2 * m);
        EXPECT_GE(popup->width(), popup->fontMetrics().horizontalAdvance(automatic) + 2 * m)
            << "widened to the text";
        EXPECT_GT(bottom.top(), popup->CellRect(39).bottom());
        EXPECT_LT(bottom.bottom(), popup->height() - m);

        for (int i = 0; i < P::kColours; ++i)
        {
            const QRect r = popup->CellRect(i);
            EXPECT_EQ(r, first.translated(i % 8 * 18, i / 8 * 18)) << i;
            // The pointer finds the cell wherever it is drawn.
            for (const QPoint& p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
                EXPECT_EQ(popup->SelectionAt(p), i) << i;
        }
        EXPECT_EQ(popup->SelectionAt(top.center()), P::kAutomaticBox);
        EXPECT_EQ(popup->SelectionAt(bottom.center()), P::kMoreColoursBox);
        EXPECT_EQ(popup->SelectionAt(first.topLeft() - QPoint(1, 0)), P::kNoCell);
        EXPECT_EQ(popup->SelectionAt(first.topLeft() - QPoint(0, 1)), P::kNoCell);
    }
}

TEST(ColourPalettePopup, CellsShowTheirNamesAsToolTips)
{
    CPalette popup(0);
    const auto tipAt = [&](int cell)
    {
        const QPoint pos = popup->CellRect(cell).center();
        QHelpEvent help(QEvent::ToolTip, pos, popup->mapToGlobal(pos));
        QCoreApplication::sendEvent(popup.get(), &help);
        return QToolTip::text();
    };
    EXPECT_EQ(tipAt(35), QStringLiteral("Pale green "));
    EXPECT_EQ(tipAt(15), QStringLiteral("Grey - 40"));
    EXPECT_EQ(tipAt(0), QStringLiteral("Black"));
    EXPECT_EQ(popup->ToolTipAt(popup->CellRect(P::kAutomaticBox).center()), QString());
    EXPECT_EQ(popup->ToolTipAt(popup->CellRect(P::kMoreColoursBox).center()), QString());
}

TEST(ColourPalettePopup, MarksTheChosenAndTheCurrentSelection)
{
    CPalette popup(P::ColourAt(16));
    Hover(popup.get(), 0);
    const QImage shot = popup->grab().toImage();
    const QPalette& pal = popup->palette();
    const QRect chosen = popup->CellRect(16);
    const QRect current = popup->CellRect(0);
    const QRect plain = popup->CellRect(20);
    EXPECT_EQ(shot.pixel(chosen.topLeft() + QPoint(1, 1)), pal.color(QPalette::Highlight).rgb());
    EXPECT_EQ(shot.pixel(chosen.topLeft()), pal.color(QPalette::Dark).rgb()) << "sunken";
    EXPECT_EQ(shot.pixel(chosen.bottomRight()), pal.color(QPalette::Light).rgb()) << "sunken";
    EXPECT_EQ(shot.pixel(chosen.center()), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(current.topLeft() + QPoint(1, 1)), pal.color(QPalette::Button).rgb());
    EXPECT_EQ(shot.pixel(current.topLeft()), pal.color(QPalette::Light).rgb()) << "raised";
    EXPECT_EQ(shot.pixel(current.bottomRight()), pal.color(QPalette::Dark).rgb()) << "raised";
    EXPECT_EQ(shot.pixel(plain.topLeft()), pal.color(QPalette::Button).rgb());
    const int inset = popup->Margin() + 1;
    EXPECT_EQ(shot.pixel(plain.topLeft() + QPoint(inset, inset)), pal.color(QPalette::Dark).rgb())
        << "outline";
    EXPECT_EQ(shot.pixel(plain.center()), qRgb(127, 255, 212));

    CPalette automatic(kAutomaticColour);
    Hover(automatic.get(), 0);
    const QRect box = automatic->CellRect(P::kAutomaticBox);
    EXPECT_EQ(automatic->grab().toImage().pixel(box.topLeft() + QPoint(1, 1)),
              pal.color(QPalette::Midlight).rgb());
}

} // namespace
