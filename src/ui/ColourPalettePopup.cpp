#include "ColourPalettePopup.h"

#include "UiServices.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <qdrawutil.h>

#include <array>
#include <optional>

namespace
{

struct TNamedColour
{
    uint8_t red, green, blue;
    const char* name;
};

// In display order, row by row. The names are shown exactly as they stand,
// through the translation.
constexpr std::array<TNamedColour, CColourPalettePopup::kColours> kPalette{{
    {0, 0, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Black")},
    {165, 42, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Brown")},
    {0, 64, 64, QT_TRANSLATE_NOOP("CColourPalettePopup", "Dark Olive Green")},
    {0, 85, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Dark Green")},
    {0, 0, 94, QT_TRANSLATE_NOOP("CColourPalettePopup", "Dark Teal")},
    {0, 0, 139, QT_TRANSLATE_NOOP("CColourPalettePopup", "Dark blue")},
    {75, 0, 130, QT_TRANSLATE_NOOP("CColourPalettePopup", "Indigo")},
    {40, 40, 40, QT_TRANSLATE_NOOP("CColourPalettePopup", "Dark grey")},
    {139, 0, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Dark red")},
    {255, 104, 32, QT_TRANSLATE_NOOP("CColourPalettePopup", "Orange")},
    {139, 139, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Dark yellow")},
    {0, 147, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Green")},
    {56, 142, 142, QT_TRANSLATE_NOOP("CColourPalettePopup", "Teal")},
    {0, 0, 255, QT_TRANSLATE_NOOP("CColourPalettePopup", "Blue")},
    {123, 123, 192, QT_TRANSLATE_NOOP("CColourPalettePopup", "Blue-grey")},
    {102, 102, 102, QT_TRANSLATE_NOOP("CColourPalettePopup", "Grey - 40")},
    {255, 0, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Red")},
    {255, 173, 91, QT_TRANSLATE_NOOP("CColourPalettePopup", "Light orange")},
    {50, 205, 50, QT_TRANSLATE_NOOP("CColourPalettePopup", "Lime")},
    {60, 179, 113, QT_TRANSLATE_NOOP("CColourPalettePopup", "Sea green")},
    {127, 255, 212, QT_TRANSLATE_NOOP("CColourPalettePopup", "Aqua")},
    {125, 158, 192, QT_TRANSLATE_NOOP("CColourPalettePopup", "Light blue")},
    {128, 0, 128, QT_TRANSLATE_NOOP("CColourPalettePopup", "Violet")},
    {127, 127, 127, QT_TRANSLATE_NOOP("CColourPalettePopup", "Grey - 50")},
    {255, 192, 203, QT_TRANSLATE_NOOP("CColourPalettePopup", "Pink")},
    {255, 215, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Gold")},
    {255, 255, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Yellow")},
    {0, 255, 0, QT_TRANSLATE_NOOP("CColourPalettePopup", "Bright green")},
    {64, 224, 208, QT_TRANSLATE_NOOP("CColourPalettePopup", "Turquoise")},
    {192, 255, 255, QT_TRANSLATE_NOOP("CColourPalettePopup", "Skyblue")},
    {72, 0, 72, QT_TRANSLATE_NOOP("CColourPalettePopup", "Plum")},
    {192, 192, 192, QT_TRANSLATE_NOOP("CColourPalettePopup", "Light grey")},
    {255, 228, 225, QT_TRANSLATE_NOOP("CColourPalettePopup", "Rose")},
    {210, 180, 140, QT_TRANSLATE_NOOP("CColourPalettePopup", "Tan")},
    {255, 255, 224, QT_TRANSLATE_NOOP("CColourPalettePopup", "Light yellow")},
    {152, 251, 152, QT_TRANSLATE_NOOP("CColourPalettePopup", "Pale green ")},
    {175, 238, 238, QT_TRANSLATE_NOOP("CColourPalettePopup", "Pale turquoise")},
    {104, 131, 139, QT_TRANSLATE_NOOP("CColourPalettePopup", "Pale blue")},
    {230, 230, 250, QT_TRANSLATE_NOOP("CColourPalettePopup", "Lavender")},
    {255, 255, 255, QT_TRANSLATE_NOOP("CColourPalettePopup", "White")},
}};

QColor ToQColor(uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

// A one-pixel 3-D edge just inside a rectangle.
void DrawEdge(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

void DrawOutline(QPainter& painter, const QRect& r, const QColor& colour)
{
    DrawEdge(painter, r, colour, colour);
}

} // namespace

uint32_t CColourPalettePopup::ColourAt(int index)
{
    const TNamedColour& c = kPalette.at(static_cast<size_t>(index));
    return static_cast<uint32_t>(c.red) | (static_cast<uint32_t>(c.green) << 8) |
           (static_cast<uint32_t>(c.blue) << 16);
}

QString CColourPalettePopup::ColourName(int index)
{
    return tr(kPalette.at(static_cast<size_t>(index)).name);
}

CColourPalettePopup::CColourPalettePopup(const QPoint& at, uint32_t colour, QWidget* button,
                                         const QString& defaultText, const QString& customText)
    : QWidget(button, Qt::Popup | Qt::FramelessWindowHint), m_initialColour(colour), m_currentColour(colour),
      m_defaultText(defaultText), m_customText(customText)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_margin = std::max(1, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
    // Cells too small to show a swatch grow until one fits.
    if (m_boxSize - 2 * m_margin - 2 < 5)
        m_boxSize = 7 + 2 * m_margin;
    Layout(at, button != nullptr ? button->height() : 0);
    m_chosenSel = FindChosen(colour);
    m_currentSel = m_chosenSel;
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state)
            {
                if (state != Qt::ApplicationActive)
                    EndSelection(false);
            });
    show();
    setFocus(Qt::PopupFocusReason);
}

void CColourPalettePopup::Layout(const QPoint& at, int buttonHeight)
{
    const int m = m_margin;
    QSize text(0, 0);
    const QFontMetrics fm(font());
    for (const QString* s : {&m_defaultText, &m_customText})
        if (!s->isEmpty())
            text = text.expandedTo(fm.size(Qt::TextSingleLine, *s));
    text += QSize(2 * m, 4 * m + 2);

    int width = kColumns * m_boxSize + 2 * m;
    int height = kRows * m_boxSize + 2 * m;
    if ((HasDefault() || HasCustom()) && text.width() > width)
        width = text.width();

    m_cellsTop = m;
    if (HasDefault())
    {
        m_defaultRect = QRect(m, m, width - 2 * m, m + text.height());
        m_cellsTop += m_defaultRect.height() + m;
        height += m_defaultRect.height() + 2 * m;
    }
    if (HasCustom())
    {
        // Below the cells, with the separator in the gap above it.
        m_customRect = QRect(m, m_cellsTop + kRows * m_boxSize + 2 * m, width - 2 * m, m + text.height());
        height += m_customRect.height() + 2 * m;
    }

    // Kept on the screen at the sides; above the button when there is no
    // room below it.
    QScreen* screen = QGuiApplication::screenAt(at);
    if (screen == nullptr)
        screen = this->screen();
    const QRect area = screen->availableGeometry();
    QPoint pos = at;
    if (pos.x() + width > area.right() + 1)
        pos.setX(area.right() + 1 - width);
    if (pos.x() < area.left())
        pos.setX(area.left());
    if (pos.y() + height > area.bottom() + 1)
        pos.setY(pos.y() - buttonHeight - height);
    setGeometry(QRect(pos, QSize(width, height)));
}

int CColourPalettePopup::FindChosen(uint32_t colour) const
{
    if (colour == kAutomaticColour && HasDefault())
        return kAutomaticBox;
    for (int i = 0; i < kColours; ++i)
        if (ColourAt(i) == colour)
            return i;
    return HasCustom() ? kMoreColoursBox : kNoCell;
}

QRect CColourPalettePopup::CellRect(int selection) const
{
    if (selection == kAutomaticBox)
        return m_defaultRect;
    if (selection == kMoreColoursBox)
        return m_customRect;
    if (selection < 0 || selection >= kColours)
        return {};
    return QRect(selection % kColumns * m_boxSize + m_margin, selection / kColumns * m_boxSize + m_cellsTop,
                 m_boxSize, m_boxSize);
}

int CColourPalettePopup::SelectionAt(const QPoint& pos) const
{
    if (m_customRect.contains(pos))
        return kMoreColoursBox;
    if (m_defaultRect.contains(pos))
        return kAutomaticBox;
    const int x = pos.x() - m_margin;
    const int y = pos.y() - m_cellsTop;
    if (x < 0 || y < 0 || x >= kColumns * m_boxSize || y >= kRows * m_boxSize)
        return kNoCell;
    return y / m_boxSize * kColumns + x / m_boxSize;
}

QString CColourPalettePopup::ToolTipAt(const QPoint& pos) const
{
    const int selection = SelectionAt(pos);
    return selection >= 0 ? ColourName(selection) : QString();
}

bool CColourPalettePopup::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
    {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, CellRect(SelectionAt(help->pos())));
        return true;
    }
    return QWidget::event(event);
}

void CColourPalettePopup::ChangeSelection(int selection)
{
    if (selection >= kColours)
        selection = kMoreColoursBox;
    if (selection == m_currentSel)
        return;
    update(CellRect(m_currentSel));
    m_currentSel = selection;
    update(CellRect(m_currentSel));

    if (selection == kAutomaticBox || selection >= 0)
        m_currentColour = selection == kAutomaticBox ? kAutomaticColour : ColourAt(selection);
    // Outside the palette's boxes the colour it opened with is reported.
    const uint32_t reported = selection == kAutomaticBox || selection >= 0 ? m_currentColour : m_initialColour;
    emit Notify(kCpnSelChange, reported);
}

int CColourPalettePopup::KeyMove(int key) const
{
    constexpr int last = kColours - 1;
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
    const int step = (key == Qt::Key_Right || key == Qt::Key_Left) ? 1 : kColumns;
    const int cur = m_currentSel;
    if (cur == kAutomaticBox)
        return forward ? 0 : (HasCustom() ? kMoreColoursBox : last);
    if (cur == kMoreColoursBox)
        return forward ? (HasDefault() ? kAutomaticBox : 0) : last;
    if (cur < 0)
        return forward ? 0 : last;
    if (forward)
    {
        if (cur + step <= last)
            return cur + step;
        return HasCustom() ? kMoreColoursBox : HasDefault() ? kAutomaticBox : 0;
    }
    if (cur - step >= 0)
        return cur - step;
    return HasDefault() ? kAutomaticBox : HasCustom() ? kMoreColoursBox : last;
}

void CColourPalettePopup::mouseMoveEvent(QMouseEvent* event)
{
    const int selection = SelectionAt(event->position().toPoint());
    if (selection != kNoCell)
        ChangeSelection(selection);
}

void CColourPalettePopup::mousePressEvent(QMouseEvent* event)
{
    // A press outside would close a popup at once; here the release decides.
    event->accept();
}

void CColourPalettePopup::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    EndSelection(rect().contains(event->position().toPoint()));
}

void CColourPalettePopup::keyPressEvent(QKeyEvent* event)
{
    switch (event->key())
    {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        ChangeSelection(KeyMove(event->key()));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        EndSelection(true);
        break;
    case Qt::Key_Escape:
        EndSelection(false);
        break;
    default:
        break;
    }
    event->accept();
}

void CColourPalettePopup::hideEvent(QHideEvent* event)
{
    // Closed by someone else (another window taking over): a cancel.
    EndSelection(false);
    QWidget::hideEvent(event);
}

void CColourPalettePopup::EndSelection(bool ok)
{
    if (m_ended)
        return;
    m_ended = true;
    // Deleted only once the ending is over: the colour dialog below may close
    // the popup, and its event loop would delete it while this still runs.
    setAttribute(Qt::WA_DeleteOnClose, false);
    const QPointer<CColourPalettePopup> alive(this);
    if (ok && m_currentSel == kMoreColoursBox)
    {
        const std::optional<uint32_t> chosen = UiServices().ChooseColor(parentWidget(), m_initialColour);
        if (!alive)
            return;
        if (chosen)
            m_currentColour = *chosen;
        else
            ok = false;
    }
    if (!ok)
        m_currentColour = m_initialColour;

    emit Notify(ok ? kCpnSelEndOk : kCpnSelEndCancel, m_currentColour);
    if (alive)
    {
        hide();
        deleteLater();
    }
}

void CColourPalettePopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (HasDefault())
        DrawTextBox(painter, kAutomaticBox);
    for (int i = 0; i < kColours; ++i)
        DrawCell(painter, i);
    if (HasCustom())
        DrawTextBox(painter, kMoreColoursBox);
    // A raised edge as wide as the margin it stands in.
    qDrawShadePanel(&painter, rect(), palette(), false, m_margin);
}

void CColourPalettePopup::DrawCell(QPainter& painter, int index) const
{
    const QPalette& pal = palette();
    const QRect r = CellRect(index);
    const bool chosen = index == m_chosenSel;
    const bool current = index == m_currentSel;
    painter.fillRect(r, pal.color(chosen && !current ? QPalette::Highlight : QPalette::Button));
    if (current)
        DrawEdge(painter, r, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    else if (chosen)
        DrawEdge(painter, r, pal.color(QPalette::Dark), pal.color(QPalette::Light));

    const int inset = m_margin + 1;
    const QRect swatch = r.adjusted(inset, inset, -inset, -inset);
    painter.fillRect(swatch, ToQColor(ColourAt(index)));
    DrawOutline(painter, swatch, pal.color(QPalette::Dark));
}

void CColourPalettePopup::DrawTextBox(QPainter& painter, int selection) const
{
    const QPalette& pal = palette();
    const QRect r = CellRect(selection);
    const bool chosen = selection == m_chosenSel;
    const bool current = selection == m_currentSel;
    if (selection == kMoreColoursBox)
    {
        // The separator between the cells and the box.
        const int y = r.top() - m_margin - 1;
        painter.fillRect(QRect(r.left(), y, r.width(), 1), pal.color(QPalette::Dark));
        painter.fillRect(QRect(r.left(), y + 1, r.width(), 1), pal.color(QPalette::Light));
    }
    painter.fillRect(r, pal.color(chosen && !current ? QPalette::Midlight : QPalette::Button));
    if (current)
        DrawEdge(painter, r, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    else if (chosen)
        DrawEdge(painter, r, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    if (selection == kAutomaticBox)
    {
        const int inset = m_margin + 1;
        DrawOutline(painter, r.adjusted(inset, inset, -inset, -inset), pal.color(QPalette::Dark));
    }
    painter.setPen(pal.color(QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine,
                     selection == kAutomaticBox ? m_defaultText : m_customText);
}
