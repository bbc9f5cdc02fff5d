#include "ColorButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace
{

constexpr int kArrowWidth = 4;
constexpr int kArrowHeight = 2;

QColor ToQColor(uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& c)
{
    return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
           (static_cast<uint32_t>(c.blue()) << 16);
}

} // namespace

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent)
{
    // Qt has no workspace colour of its own; the dark shade is what its
    // workspace areas use.
    m_defaultColour = FromQColor(palette().color(QPalette::Dark));
    setAutoDefault(false);
    // The button shows no text: what a screen reader says comes from here.
    // Dialogs give a better name where they know what the colour is for.
    setAccessibleName(tr("Colour"));
    Describe();
    connect(this, &QPushButton::clicked, this, &CColorButton::OpenPopup);
}

void CColorButton::SetColour(uint32_t colour)
{
    m_colour = colour;
    Describe();
    update();
}

void CColorButton::SetDefaultColour(uint32_t colour)
{
    m_defaultColour = colour;
    update();
}

void CColorButton::Describe()
{
    setAccessibleDescription(m_colour == kAutomaticColour ? m_defaultText
                                                           : ToQColor(m_colour).name(QColor::HexRgb).toUpper());
}

int CColorButton::ControlId() const
{
    bool ok = false;
    const int id = objectName().toInt(&ok);
    return ok ? id : -1;
}

int CColorButton::Edge() const
{
    // The content keeps at least the classic 2-pixel edge from the frame.
    return std::max(2, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
}

QRect CColorButton::ArrowRect() const
{
    const int e = Edge();
    const QRect inner = rect().adjusted(2 * e, 2 * e, -2 * e, -2 * e);
    return QRect(inner.right() + 1 - kArrowWidth - e, inner.top() + (inner.height() - kArrowHeight) / 2,
                 kArrowWidth, kArrowHeight);
}

QRect CColorButton::SwatchRect() const
{
    const int e = Edge();
    const QRect inner = rect().adjusted(2 * e, 2 * e, -2 * e, -2 * e);
    // The etched line stands e pixels left of the arrow, the swatch e more.
    const int etched = ArrowRect().left() - e - 2;
    return QRect(inner.left(), inner.top(), etched - e - inner.left(), inner.height());
}

void CColorButton::OpenPopup()
{
    if (m_popupOpen)
        return;
    m_popupOpen = true;
    update();
    m_popup = new CColourPalettePopup(mapToGlobal(QPoint(0, height())), m_colour, this, m_defaultText,
                                      m_customText);
    connect(m_popup, &CColourPalettePopup::Notify, this, &CColorButton::OnPopupNotify);
    emit Notify(kCpnDropDown, m_colour, ControlId());
}

void CColorButton::OnPopupNotify(int code, uint32_t colour)
{
    switch (code)
    {
    case kCpnSelEndOk:
    {
        const uint32_t before = m_colour;
        m_popupOpen = false;
        SetColour(colour);
        emit Notify(kCpnCloseUp, colour, ControlId());
        emit Notify(kCpnSelEndOk, colour, ControlId());
        if (colour != before)
            emit Notify(kCpnSelChange, colour, ControlId());
        break;
    }
    case kCpnSelEndCancel:
        m_popupOpen = false;
        SetColour(colour);
        emit Notify(kCpnCloseUp, colour, ControlId());
        emit Notify(kCpnSelEndCancel, colour, ControlId());
        break;
    case kCpnSelChange:
        emit Notify(kCpnSelChange, colour, ControlId());
        break;
    default:
        break;
    }
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    const bool pushed = isDown() || m_popupOpen;
    if (pushed)
    {
        option.state |= QStyle::State_Sunken;
        option.state &= ~QStyle::State_Raised;
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const int e = Edge();
    if (hasFocus() || m_popupOpen)
    {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(e, e, -e, -e);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }

    // The content moves one pixel right and down while pushed.
    if (pushed)
        painter.translate(1, 1);
    const QPalette& pal = palette();
    // The arrow is drawn as the button's text would be, so that it shows on
    // a dark palette as on a light one.
    const QColor arrowColour =
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    const QRect arrow = ArrowRect();
    for (int row = 0; row < kArrowHeight; ++row)
        painter.fillRect(QRect(arrow.left() + row, arrow.top() + row, kArrowWidth - 2 * row, 1), arrowColour);

    const QRect swatch = SwatchRect();
    const int etched = arrow.left() - e - 2;
    painter.fillRect(QRect(etched, swatch.top(), 1, swatch.height()), pal.color(QPalette::Dark));
    painter.fillRect(QRect(etched + 1, swatch.top(), 1, swatch.height()), pal.color(QPalette::Light));

    if (!isEnabled())
        return;
    painter.fillRect(swatch, ToQColor(m_colour == kAutomaticColour ? m_defaultColour : m_colour));
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}
