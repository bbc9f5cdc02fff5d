#include "ColorButton.h"

#include "DialogDriver.h"
#include "ScriptedUiServices.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <gtest/gtest.h>

#include <ostream>

namespace
{

constexpr int kButtonId = 1053;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kOddColour = 0x030201; // 1, 2, 3: in no cell

struct TNote
{
    int code;
    uint32_t colour;
    int id;
    bool operator==(const TNote&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TNote& n)
{
    return out << "{" << n.code << ", 0x" << std::hex << n.colour << std::dec << ", " << n.id << "}";
}

QRgb Rgb32(uint32_t colour)
{
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// A window holding one colour button with the id of the face dialog's first
// colour, recording what the button tells its dialog.
class ColorButtonTest : public ::testing::Test
{
protected:
    ColorButtonTest() : m_use(m_ui)
    {
        m_window.resize(300, 200);
        m_button = new CColorButton(&m_window);
        m_button->setObjectName(QString::number(kButtonId));
        m_button->setGeometry(20, 20, 136, 30);
        QObject::connect(m_button, &CColorButton::Notify,
                         [this](int code, uint32_t colour, int id) {
                             m_notes.push_back({code, colour, id});
                         });
        m_window.show();
    }

    CColourPalettePopup* Open(uint32_t colour)
    {
        m_button->SetColour(colour);
        m_notes.clear();
        CColourPalettePopup* popup = OpenPalette(&m_window, kButtonId);
        EXPECT_NE(popup, nullptr);
        return popup;
    }

    QRgb SwatchCentre() const { return m_button->grab().toImage().pixel(m_button->SwatchRect().center()); }

    CScriptedUiServices m_ui;
    CUiServicesOverride m_use;
    QWidget m_window;
    CColorButton* m_button;
    std::vector<TNote> m_notes;
};

TEST_F(ColorButtonTest, OpensWithTheBoxOfItsColourChosen)
{
    struct TCase
    {
        uint32_t colour;
        int chosen;
    };
    for (const TCase& c : {TCase{kRed, 16}, TCase{kAutomaticColour, CColourPalettePopup::kAutomaticBox},
                           TCase{kOddColour, CColourPalettePopup::kMoreColoursBox}, TCase{0xFFFFFF, 39}})
    {
        CColourPalettePopup* popup = Open(c.colour);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->ChosenSelection(), c.chosen) << std::hex << c.colour;
        EXPECT_EQ(popup->CurrentSelection(), c.chosen);
        EXPECT_TRUE(m_button->IsPopupOpen());
        EXPECT_EQ(m_notes, (std::vector<TNote>{{kCpnDropDown, c.colour, kButtonId}}));
        QTest::keyClick(popup, Qt::Key_Escape);
    }
}

TEST_F(ColorButtonTest, ReportsEveryColourThePointerPassesOver)
{
    CColourPalettePopup* popup = Open(kRed);
    Hover(popup, 13);
    Hover(popup, 13);
    Hover(popup, CColourPalettePopup::kMoreColoursBox);
    Hover(popup, CColourPalettePopup::kAutomaticBox);
    Hover(popup, 35);
    // Between the cells and the "More Colors..." box lies no cell.
    Hover(popup, popup->CellRect(CColourPalettePopup::kMoreColoursBox).topLeft() - QPoint(0, 1));
    EXPECT_EQ(popup->CurrentSelection(), 35);
    EXPECT_EQ(m_notes, (std::vector<TNote>{{kCpnDropDown, kRed, kButtonId},
                                           {kCpnSelChange, 0xFF0000, kButtonId},
                                           {kCpnSelChange, kRed, kButtonId},
                                           {kCpnSelChange, kAutomaticColour, kButtonId},
                                           {kCpnSelChange, 0x98FB98, kButtonId}}))
        << "\"More Colors...\" reports the colour the palette opened with";
    EXPECT_EQ(SwatchCentre(), Rgb32(kRed)) << "the swatch does not follow the pointer";
}

TEST_F(ColorButtonTest, ReleasingInsideChoosesAndOutsideCancels)
{
    CColourPalettePopup* popup = Open(kRed);
    Hover(popup, 26);
    QTest::mouseRelease(popup, Qt::LeftButton, {}, popup->CellRect(26).center());
    EXPECT_EQ(m_notes, (std::vector<TNote>{{kCpnDropDown, kRed, kButtonId},
                                           {kCpnSelChange, 0x00FFFF, kButtonId},
                                           {kCpnCloseUp, 0x00FFFF, kButtonId},
                                           {kCpnSelEndOk, 0x00FFFF, kButtonId},
                                           {kCpnSelChange, 0x00FFFF, kButtonId}}));
    EXPECT_EQ(m_button->Colour(), 0x00FFFFu);
    EXPECT_FALSE(m_button->IsPopupOpen());
    EXPECT_EQ(SwatchCentre(), Rgb32(0x00FFFF));

    popup = Open(0x00FFFF);
    QTest::mouseRelease(popup, Qt::LeftButton, {}, popup->CellRect(26).center());
    EXPECT_EQ(m_notes, (std::vector<TNote>{{kCpnDropDown, 0x00FFFF, kButtonId},
                                           {kCpnCloseUp, 0x00FFFF, kButtonId},
                                           {kCpnSelEndOk, 0x00FFFF, kButtonId}}))
        << "no change, no select change";

    popup = Open(0x00FFFF);
    Hover(popup, 0);
    QTest::mouseRelease(popup, Qt::LeftButton, {}, popup->rect().bottomRight() + QPoint(5, 5));
    EXPECT_EQ(m_notes.back(), (TNote{kCpnSelEndCancel, 0x00FFFF, kButtonId}));
    EXPECT_EQ(m_button->Colour(), 0x00FFFFu);
}

TEST_F(ColorButtonTest, EscapeCancelsWithTheColourItOpenedWith)
{
    const QPointer<CColourPalettePopup> popup = Open(kRed);
    Hover(popup, 0);
    Hover(popup, 1);
    Hover(popup, CColourPalettePopup::kAutomaticBox);
    QTest::keyClick(popup, Qt::Key_Escape);
    ASSERT_EQ(m_notes.size(), 6u);
    EXPECT_EQ(m_notes[4], (TNote{kCpnCloseUp, kRed, kButtonId}));
    EXPECT_EQ(m_notes[5], (TNote{kCpnSelEndCancel, kRed, kButtonId}));
    EXPECT_EQ(m_button->Colour(), kRed);
    EXPECT_FALSE(m_button->IsPopupOpen());
    EXPECT_EQ(SwatchCentre(), Rgb32(kRed));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(popup.isNull()) << "the palette goes once it has ended";
}

TEST_F(ColorButtonTest, MoreColorsAsksTheColourDialog)
{
    // Cancelled: the whole choice is a cancel.
    CColourPalettePopup* popup = Open(kRed);
    Hover(popup, CColourPalettePopup::kMoreColoursBox);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(m_ui.colourDialogStarts, std::vector<uint32_t>{kRed});
    EXPECT_EQ(m_notes.back(), (TNote{kCpnSelEndCancel, kRed, kButtonId}));
    EXPECT_EQ(m_button->Colour(), kRed);

    // Answered: its colour is the choice.
    m_ui.colourAnswers.push_back(kOddColour);
    popup = Open(kRed);
    Hover(popup, CColourPalettePopup::kMoreColoursBox);
    QTest::mouseRelease(popup, Qt::LeftButton, {},
                        popup->CellRect(CColourPalettePopup::kMoreColoursBox).center());
    EXPECT_EQ(m_notes, (std::vector<TNote>{{kCpnDropDown, kRed, kButtonId},
                                           {kCpnSelChange, kRed, kButtonId},
                                           {kCpnCloseUp, kOddColour, kButtonId},
                                           {kCpnSelEndOk, kOddColour, kButtonId},
                                           {kCpnSelChange, kOddColour, kButtonId}}));
    EXPECT_EQ(SwatchCentre(), Rgb32(kOddColour));
}

// A colour dialog that behaves as a real modal one does towards an open
// popup: showing it closes the popup, and its event loop runs what that
// posted before the answer comes.
class CModalColourDialog : public CScriptedUiServices
{
public:
    std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return CScriptedUiServices::ChooseColor(parent, initial);
    }
};

TEST_F(ColorButtonTest, MoreColorsSurvivesTheColourDialogClosingThePalette)
{
    CModalColourDialog modal;
    CUiServicesOverride use(modal);
    modal.colourAnswers.push_back(kOddColour);
    const QPointer<CColourPalettePopup> popup = Open(kRed);
    Hover(popup, CColourPalettePopup::kMoreColoursBox);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(m_notes.back(), (TNote{kCpnSelChange, kOddColour, kButtonId}));
    EXPECT_EQ(m_button->Colour(), kOddColour);
    EXPECT_FALSE(m_button->IsPopupOpen());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(popup.isNull());
}

TEST_F(ColorButtonTest, SwatchShowsTheColourOrTheDefaultAndNothingWhenDisabled)
{
    m_button->SetDefaultColour(0x406080);
    const QRgb face = m_button->grab().toImage().pixel(m_button->SwatchRect().center());
    EXPECT_EQ(face, Rgb32(0x406080)) << "automatic shows the default colour";
    m_button->SetColour(0x123456);
    EXPECT_EQ(SwatchCentre(), Rgb32(0x123456));
    m_button->setEnabled(false);
    EXPECT_NE(SwatchCentre(), Rgb32(0x123456));
}

// On a dark palette the arrow takes the button's text colour, as the text of
// every other button does, and the button names itself and its colour to
// assistive tools.
TEST_F(ColorButtonTest, FollowsThePaletteAndDescribesItsColour)
{
    QPalette dark = m_button->palette();
    dark.setColor(QPalette::Button, QColor(30, 30, 30));
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    m_button->setPalette(dark);
    m_button->SetColour(kRed);
    const QImage shown = m_button->grab().toImage();
    const QRect swatch = m_button->SwatchRect();
    int arrowPixels = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = swatch.right() + 1; x < shown.width(); ++x)
            arrowPixels += shown.pixel(x, y) == qRgb(240, 240, 240) ? 1 : 0;
    EXPECT_GE(arrowPixels, 6) << "the arrow in the palette's button text colour";

    EXPECT_EQ(m_button->accessibleName(), QStringLiteral("Colour"));
    EXPECT_EQ(m_button->accessibleDescription(), QStringLiteral("#FF0000"));
    m_button->SetColour(kAutomaticColour);
    EXPECT_EQ(m_button->accessibleDescription(), QStringLiteral("Automatic"));
}

TEST_F(ColorButtonTest, OpensBelowTheButtonOrAboveItNearTheBottomAndStaysOnScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct TCase
    {
        const char* where;
        QPoint button; // the button's top-left on the screen
        bool above;
    };
    for (const TCase& c : {TCase{"middle", screen.center(), false},
                           TCase{"bottom", QPoint(screen.center().x(), screen.bottom() - 40), true},
                           TCase{"right", QPoint(screen.right() - 60, screen.top() + 50), false},
                           TCase{"left", QPoint(screen.left() - 80, screen.top() + 50), false}})
    {
        m_window.move(m_window.pos() + c.button - m_button->mapToGlobal(QPoint(0, 0)));
        const QRect button(m_button->mapToGlobal(QPoint(0, 0)), m_button->size());
        ASSERT_EQ(button.topLeft(), c.button) << c.where;
        CColourPalettePopup* popup = Open(kRed);
        const QRect r = popup->geometry();
        if (c.above)
            EXPECT_EQ(r.bottom() + 1, button.top()) << c.where;
        else
            EXPECT_EQ(r.top(), button.bottom() + 1) << c.where;
        EXPECT_EQ(r.left(), std::clamp(button.left(), screen.left(), screen.right() + 1 - r.width()))
            << c.where;
        QTest::keyClick(popup, Qt::Key_Escape);
    }
}

} // namespace
