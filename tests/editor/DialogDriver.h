#pragma once

#include "DialogTemplate.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

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

// Replaces an edit's text as typing would (key by key, so that limits and
// validators apply).
inline void Type(const QWidget* dialog, int id, const QString& text)
{
    auto* edit = DlgItem<QLineEdit>(dialog, id);
    ASSERT_NE(edit, nullptr) << "no edit " << id;
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
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
