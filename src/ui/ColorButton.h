#pragma once

#include "ColourPalettePopup.h"

#include <QPointer>
#include <QPushButton>

#include <cstdint>

// A push button that shows a colour as a swatch with a drop-down arrow and
// opens the colour palette when clicked. What the palette reports is passed
// on to the dialog through Notify, with the button's control id. The swatch
// changes when a choice ends, not while the palette is followed.
class CColorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CColorButton(QWidget* parent = nullptr);

    // Red in the lowest byte, or kAutomaticColour.
    uint32_t Colour() const { return m_colour; }
    void SetColour(uint32_t colour);
    // What the swatch shows for kAutomaticColour.
    void SetDefaultColour(uint32_t colour);

    bool IsPopupOpen() const { return m_popupOpen; }
    // The open palette, or null.
    CColourPalettePopup* Popup() const { return m_popup; }
    // The button's id in its dialog (its object name), -1 without one.
    int ControlId() const;
    // Where the colour is shown, in the button's coordinates, unpushed.
    QRect SwatchRect() const;

signals:
    // A kCpn... code, the colour it carries and ControlId().
    void Notify(int code, uint32_t colour, int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OpenPopup();
    // The colour in words for assistive tools: "Automatic" or "#RRGGBB".
    void Describe();
    void OnPopupNotify(int code, uint32_t colour);
    int Edge() const;
    QRect ArrowRect() const;

    uint32_t m_colour = kAutomaticColour;
    uint32_t m_defaultColour;
    const QString m_defaultText = tr("Automatic");
    const QString m_customText = tr("More Colors...");
    bool m_popupOpen = false;
    QPointer<CColourPalettePopup> m_popup;
};
