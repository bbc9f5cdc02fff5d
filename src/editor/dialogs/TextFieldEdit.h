#pragma once

#include "TextField.h"

#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPointer>

// A line edit for one fixed text field (a button name, an event text, a user
// event). It shows the field's text and gives back what it holds in the
// field's form, converting only through TextField.h. It holds no more than
// the field can store: typing stops once the text would need more than 79
// bytes in the code page (bytes, not characters), and pasted or set text is
// cut at a character boundary, so what the installer sees is what is stored.
// A character typed or pasted that the code page lacks is kept on screen and
// stored as '?'; LosslessChanged tells the dialog so that it can say so. A
// byte of the field that the code page does not define is stored again as
// itself for as long as its character stays, and a field not edited at all
// goes back byte for byte.
class CTextFieldEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CTextFieldEdit(QWidget* parent = nullptr);

    // Puts a text-field edit in the place of a template's edit control (same
    // id, rectangle and tab position) and returns it.
    static CTextFieldEdit* Replace(QWidget* dialog, int controlId);

    // Shows the field's text; what it stores starts as the field itself.
    void SetField(const TTextField& field);
    // The text as a field of its own, zero bytes after the text.
    TTextField Field() const;
    // Writes the text with its closing zero into a field; the bytes after the
    // zero stay as the field's owner holds them.
    void StoreField(TTextField& field) const;

    // Whether every character typed or pasted has a form in the code page.
    bool IsLossless() const { return m_lossless; }

signals:
    void LosslessChanged(bool lossless);

private:
    friend class CTextFieldValidator;
    void TextChanged(const QString& text);

    TFieldText Editable() const;
    bool Unedited() const;

    // The text as it stood before the change being validated.
    QString m_accepted;
    // Beside each code unit of the text, the undefined byte of the field it
    // stands for, or 0.
    std::string m_kept;
    // The field as set and the text it was shown as, for a field left as it
    // was.
    TTextField m_original{};
    QString m_shown;
    std::string m_shownKept;
    bool m_setting = false;
    bool m_lossless = true;
};

// The one line a dialog shows while any of its text-field edits holds a
// character that will be stored as '?'; hidden otherwise. It informs and
// never stands in the way of OK.
class CTextFieldWarning : public QLabel
{
    Q_OBJECT

public:
    static QString Message();

    explicit CTextFieldWarning(QWidget* parent);

    void Watch(CTextFieldEdit* edit);

private:
    void Update();

    QList<QPointer<CTextFieldEdit>> m_edits;
};
