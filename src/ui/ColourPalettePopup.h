#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>

// What the colour picker reports: the popup to its button, and the button to
// its dialog together with the button's control id.
enum EColourNotify : int
{
    kCpnSelChange = 2025,    // the colour now selected or passed over
    kCpnDropDown = 2026,     // the popup has been opened
    kCpnCloseUp = 2027,      // the popup has closed
    kCpnSelEndOk = 2028,     // a colour was chosen
    kCpnSelEndCancel = 2029, // dismissed; the colour is the one it opened with
};

// Colours hold red in the lowest byte; this one is no colour at all, the
// "Automatic" choice.
constexpr uint32_t kAutomaticColour = 0xFF000000u;

// The palette that drops down from a colour button: "Automatic" at the top,
// 40 named colours in 8 columns and 5 rows, "More Colors..." at the bottom.
// It follows the pointer and the arrow keys, reporting each colour it passes
// over, and ends with OK (a click inside, Enter, Space) or cancel (a click
// outside, Escape, the application losing the focus). It deletes itself once
// it has ended.
class CColourPalettePopup : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kColours = 40;
    static constexpr int kColumns = 8;
    static constexpr int kRows = 5;
    static constexpr int kBoxSize = 18;
    // Selections besides the colour indices 0 to 39.
    static constexpr int kNoCell = -1;
    static constexpr int kMoreColoursBox = -2;
    static constexpr int kAutomaticBox = -3;

    // The table's colour (red in the lowest byte) and name.
    static uint32_t ColourAt(int index);
    static QString ColourName(int index);

    // Opens at a screen point (the lower-left corner of the button) with the
    // colour the button shows. An empty text leaves its box out. The button
    // is the parent; the popup stands above it when there is no room below.
    CColourPalettePopup(const QPoint& at, uint32_t colour, QWidget* button, const QString& defaultText,
                        const QString& customText);

    int CurrentSelection() const { return m_currentSel; }
    int ChosenSelection() const { return m_chosenSel; }
    int Margin() const { return m_margin; }
    int BoxSize() const { return m_boxSize; }
    // Where a selection is drawn, in the popup's coordinates; empty for none.
    QRect CellRect(int selection) const;
    // The selection under a point, kNoCell off every cell.
    int SelectionAt(const QPoint& pos) const;
    // The colour's name under a point, empty off the colour cells.
    QString ToolTipAt(const QPoint& pos) const;

signals:
    // kCpnSelChange, kCpnSelEndOk or kCpnSelEndCancel with a colour.
    void Notify(int code, uint32_t colour);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool HasDefault() const { return !m_defaultText.isEmpty(); }
    bool HasCustom() const { return !m_customText.isEmpty(); }
    void Layout(const QPoint& at, int buttonHeight);
    int FindChosen(uint32_t colour) const;
    int KeyMove(int key) const;
    void ChangeSelection(int selection);
    void EndSelection(bool ok);
    void DrawCell(QPainter& painter, int index) const;
    void DrawTextBox(QPainter& painter, int selection) const;

    uint32_t m_initialColour;
    uint32_t m_currentColour;
    QString m_defaultText;
    QString m_customText;
    int m_margin;
    int m_boxSize = kBoxSize;
    int m_currentSel = kNoCell;
    int m_chosenSel = kNoCell;
    QRect m_defaultRect;
    QRect m_customRect;
    int m_cellsTop = 0;
    bool m_ended = false;
};
