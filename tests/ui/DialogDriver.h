#pragma once

#include "ColorButton.h"
#include "DialogTemplate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

// Texts in test failures as text rather than code units.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Works a built dialog's controls by id as a person would.

inline QAbstractButton* Button(const QWidget* dialog, int id)
{
    auto* button = DlgItem<QAbstractButton>(dialog, id);
    EXPECT_NE(button, nullptr) << "no button " << id;
    return button;
}

inline void Click(const QWidget* dialog, int id)
{
    if (QAbstractButton* button = Button(dialog, id))
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// Presses a key for each character, carrying its text as a keyboard or an
// input method would (QTest::keyClicks knows only Latin-1).
inline void KeyClicks(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
    {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Replaces an edit's text as typing would (key by key, so that limits and
// validators apply).
inline void Type(const QWidget* dialog, int id, const QString& text)
{
    auto* edit = DlgItem<QLineEdit>(dialog, id);
    ASSERT_NE(edit, nullptr) << "no edit " << id;
    edit->selectAll();
    edit->del();
    KeyClicks(edit, text);
}

// Types into an edit with the cursor at a position, keeping its text.
inline void TypeAt(const QWidget* dialog, int id, int position, const QString& text)
{
    auto* edit = DlgItem<QLineEdit>(dialog, id);
    ASSERT_NE(edit, nullptr) << "no edit " << id;
    edit->setCursorPosition(position);
    KeyClicks(edit, text);
}

// Pastes text from the clipboard at an edit's cursor with Ctrl+V.
inline void Paste(const QWidget* dialog, int id, const QString& text)
{
    auto* edit = DlgItem<QLineEdit>(dialog, id);
    ASSERT_NE(edit, nullptr) << "no edit " << id;
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

// Presses keys in a window as a person would: the window active, the keys
// going to the focused control (or the window), shortcuts included.
inline void PressKeys(QWidget* window, const QKeySequence& keys)
{
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
    QTest::keySequence(target, keys);
}

// The edits on the same row as the label with this text, left to right, as
// a person reading the dialog would pair them.
inline QList<QLineEdit*> RowEdits(const QWidget* dialog, const QString& label)
{
    QList<QLineEdit*> row;
    const QLabel* found = nullptr;
    for (const QLabel* l : dialog->findChildren<QLabel*>())
        if (l->text() == label)
            found = l;
    EXPECT_NE(found, nullptr) << "no label " << label.toStdString();
    if (found == nullptr)
        return row;
    const auto place = [dialog](const QWidget* w)
    { return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size()); };
    const int middle = place(found).center().y();
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
        if (place(edit).top() <= middle && middle <= place(edit).bottom())
            row.append(edit);
    std::sort(row.begin(), row.end(),
              [&](const QLineEdit* a, const QLineEdit* b) { return place(a).left() < place(b).left(); });
    return row;
}

inline QString Text(const QWidget* dialog, int id)
{
    const auto* edit = DlgItem<QLineEdit>(dialog, id);
    return edit != nullptr ? edit->text() : QStringLiteral("<no edit>");
}

// The text a label shows.
inline QString Caption(const QWidget* dialog, int id)
{
    const auto* label = DlgItem<QLabel>(dialog, id);
    return label != nullptr ? label->text() : QStringLiteral("<no label>");
}

inline QComboBox* Combo(const QWidget* dialog, int id)
{
    auto* combo = DlgItem<QComboBox>(dialog, id);
    EXPECT_NE(combo, nullptr) << "no combo box " << id;
    return combo;
}

// The texts of a combo box's entries, in the order shown.
inline QStringList Entries(const QWidget* dialog, int id)
{
    QStringList out;
    if (const QComboBox* combo = Combo(dialog, id))
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
    return out;
}

// The text of the selected entry, empty without one.
inline QString Selected(const QWidget* dialog, int id)
{
    const QComboBox* combo = Combo(dialog, id);
    return combo != nullptr && combo->currentIndex() >= 0 ? combo->itemText(combo->currentIndex())
                                                          : QString();
}

// Chooses the entry with this text as a person picking it from the list.
inline void Choose(const QWidget* dialog, int id, const QString& text)
{
    QComboBox* combo = Combo(dialog, id);
    if (combo == nullptr)
        return;
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << "no entry \"" << text.toStdString() << "\" in " << id;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// Opens the palette of the colour button with this id as a click would; the
// palette, or null when none opened.
inline CColourPalettePopup* OpenPalette(const QWidget* dialog, int id)
{
    auto* button = DlgItem<CColorButton>(dialog, id);
    EXPECT_NE(button, nullptr) << "no colour button " << id;
    if (button == nullptr)
        return nullptr;
    Click(dialog, id);
    return button->Popup();
}

// Moves the pointer over a colour cell or one of the palette's boxes.
inline void Hover(CColourPalettePopup* popup, const QPoint& pos)
{
    // Sent to the palette itself: moving the cursor to where it already is
    // would send nothing.
    QMouseEvent move(QEvent::MouseMove, pos, popup->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &move);
}
inline void Hover(CColourPalettePopup* popup, int selection)
{
    Hover(popup, popup->CellRect(selection).center());
}

// The left button pressed, moved with and released over a widget, as a
// person's hand (or finger on a touch screen) would.
inline void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& at)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
inline void MousePress(QWidget* widget, const QPoint& at)
{
    SendMouse(widget, QEvent::MouseButtonPress, at);
}
inline void MouseMove(QWidget* widget, const QPoint& at)
{
    SendMouse(widget, QEvent::MouseMove, at);
}
inline void MouseRelease(QWidget* widget, const QPoint& at)
{
    SendMouse(widget, QEvent::MouseButtonRelease, at);
}

// The texts of a list box's entries, in the order shown.
inline QStringList ListEntries(const QWidget* dialog, int id)
{
    QStringList out;
    const auto* list = DlgItem<QListWidget>(dialog, id);
    EXPECT_NE(list, nullptr) << "no list box " << id;
    if (list != nullptr)
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
    return out;
}
