#pragma once

#include "DialogTemplate.h"

#include <QDialog>
#include <QSizeGrip>
#include <QTimer>

class QScrollBar;

// The size box in a scrolling dialog's bottom-right corner: dragging it
// resizes the dialog from that corner.
class CGripper : public QSizeGrip
{
public:
    explicit CGripper(QWidget* parent);
};

// A resizable dialog whose controls keep their designed places and scroll,
// 8 pixels a step across and 4 down, when the window is smaller than
// designed. The overflow in steps is (designed - client size) / step,
// truncated, and negative when the window is larger; a scroll bar appears
// only for a positive overflow. Every size change scrolls back to the origin
// first. The gripper shows only while nothing overflows and the window is
// not maximised.
class CScrollDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kStepX = 8;
    static constexpr int kStepY = 4;
    // Control id of the gripper.
    static constexpr int kGripperId = 59936;
    // Horizontal steps of a page left or right.
    static constexpr int kPageX = 8;

    // What a scroll bar asks for. "Back" is up or left.
    enum class EScroll
    {
        LineBack,
        LineForward,
        PageBack,
        PageForward,
        ThumbTrack,
        ToStart,
        ToEnd,
        EndScroll,
    };

    // Builds the template's controls into Content().
    explicit CScrollDialog(const TDlgTemplate& tmpl, QWidget* parent = nullptr);

    // The widget holding the controls, at the designed size; it moves as the
    // dialog scrolls.
    QWidget* Content() const { return m_content; }
    QSize DesignedSize() const { return m_designed; }
    // The part of the window inside the scroll bars that are shown.
    QSize ClientSize() const { return m_client; }

    int HorizontalOverflow() const { return m_hOverflow; }
    int VerticalOverflow() const { return m_vOverflow; }
    int HorizontalMaximum() const { return m_hMaximum; }
    int VerticalMaximum() const { return m_vMaximum; }
    int HorizontalPosition() const { return m_hPosition; }
    int VerticalPosition() const { return m_vPosition; }

    // Scrolls as a scroll bar's request would; thumb is the position asked
    // for by ThumbTrack, in steps.
    void ScrollRequest(Qt::Orientation bar, EScroll code, int thumb = 0);

    CGripper* Gripper() const { return m_gripper; }
    QScrollBar* ScrollBar(Qt::Orientation bar) const;

    // Before the first show the window is made to fit the free area of its
    // screen (without panels and docks), and scrolls what does not fit.
    void setVisible(bool visible) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void SizeChanged();
    // Makes the window no larger than its screen's free area less the frame
    // `framed` has (none when null), and once shown moves it into that area.
    void FitToScreen(const QWidget* framed);
    void BarAction(Qt::Orientation bar, int action);
    void ShowFocused(QWidget* widget);

    int m_hOverflow = 0;
    int m_vOverflow = 0;
    int m_vMaximum = 0;
    int m_hMaximum = 0;
    int m_vPosition = 0;
    int m_hPosition = 0;
    QSize m_designed;
    QSize m_client;
    QWidget* m_content = nullptr;
    QScrollBar* m_hBar = nullptr;
    QScrollBar* m_vBar = nullptr;
    CGripper* m_gripper = nullptr;
    bool m_fitted = false;
    // Fits the window again once it is shown with its frame.
    QTimer m_refit;
};
