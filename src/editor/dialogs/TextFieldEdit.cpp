#include "TextFieldEdit.h"

#include "DialogTemplate.h"

#include <QCoreApplication>
#include <QValidator>

#include <algorithm>
#include <vector>

namespace
{

bool Fits(const QString& text)
{
    return FitsTextField(text.toStdU16String());
}

bool SplitsPair(const QString& text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() && text[at].isLowSurrogate();
}

// The longest start of middle, ending on a character boundary, with which
// head + start + tail still fits. A further character does not make the
// stored form shorter (at most it composes with the one before), so the
// lengths that fit are those up to one limit.
qsizetype LongestFittingStart(const QString& head, const QString& middle, const QString& tail)
{
    std::vector<qsizetype> ends{0};
    for (qsizetype i = 1; i <= middle.size(); ++i)
        if (!SplitsPair(middle, i))
            ends.push_back(i);
    size_t lo = 0; // fits
    size_t hi = ends.size() - 1;
    while (lo < hi)
    {
        const size_t mid = (lo + hi + 1) / 2;
        if (Fits(head + middle.left(ends[mid]) + tail))
            lo = mid;
        else
            hi = mid - 1;
    }
    return ends[lo];
}

// The text after a change from `before`, cut to what the field holds: the
// inserted part loses characters from its end, so a key typed into a full
// field is refused wherever the cursor stands; text that does not fit even
// without the insertion loses its own end.
QString Fitted(const QString& before, const QString& after, int& cursor)
{
    qsizetype prefix = 0;
    const qsizetype common = std::min(before.size(), after.size());
    while (prefix < common && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if (SplitsPair(after, prefix))
        --prefix;
    if (SplitsPair(after, after.size() - suffix))
        --suffix;

    const QString head = after.left(prefix);
    const QString tail = after.right(suffix);
    if (!Fits(head + tail))
    {
        const qsizetype kept = LongestFittingStart({}, after, {});
        cursor = static_cast<int>(std::min<qsizetype>(cursor, kept));
        return after.left(kept);
    }
    const QString middle = after.mid(prefix, after.size() - prefix - suffix);
    const qsizetype kept = LongestFittingStart(head, middle, tail);
    cursor = static_cast<int>(prefix + kept);
    return head + middle.left(kept) + tail;
}

} // namespace

// Checks every change to the edit's text, typed, pasted, dropped or set, and
// cuts what does not fit instead of refusing all of it.
class CTextFieldValidator : public QValidator
{
public:
    explicit CTextFieldValidator(CTextFieldEdit* edit) : QValidator(edit), m_edit(edit) {}

    State validate(QString& input, int& pos) const override
    {
        if (!Fits(input))
            input = Fitted(m_edit->m_accepted, input, pos);
        return Acceptable;
    }

private:
    CTextFieldEdit* m_edit;
};

CTextFieldEdit::CTextFieldEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new CTextFieldValidator(this));
    connect(this, &QLineEdit::textChanged, this, &CTextFieldEdit::TextChanged);
}

CTextFieldEdit* CTextFieldEdit::Replace(QWidget* dialog, int controlId)
{
    auto* edit = new CTextFieldEdit(dialog);
    ReplaceControl(dialog, controlId, edit);
    return edit;
}

void CTextFieldEdit::SetField(const TTextField& field)
{
    const TFieldText editable = TextFieldToEditable(field);
    m_setting = true;
    // A field without its zero byte holds 80 bytes; it is cut from its end.
    m_accepted.clear();
    setText(QString::fromStdU16String(editable.text));
    m_setting = false;
    m_kept = editable.kept;
    m_kept.resize(static_cast<size_t>(text().size()), '\0');
    m_original = field;
    m_shown = text();
    m_shownKept = m_kept;
    m_accepted = text();
    TextChanged(text());
}

TFieldText CTextFieldEdit::Editable() const
{
    return {text().toStdU16String(), m_kept};
}

bool CTextFieldEdit::Unedited() const
{
    return text() == m_shown && m_kept == m_shownKept;
}

TTextField CTextFieldEdit::Field() const
{
    TTextField field{};
    StoreField(field);
    return field;
}

void CTextFieldEdit::StoreField(TTextField& field) const
{
    if (!Unedited())
    {
        EditableToTextField(Editable(), field);
        return;
    }
    // Exactly the bytes it was set with, up to and with the zero.
    const auto end = std::find(m_original.begin(), m_original.end(), uint8_t{0});
    std::copy(m_original.begin(), end == m_original.end() ? end : end + 1, field.begin());
}

void CTextFieldEdit::TextChanged(const QString& text)
{
    if (m_setting)
        return;
    // The units the change left in place keep what they stand for; what
    // came in is the installer's own.
    const QString& before = m_accepted;
    const qsizetype common = std::min(before.size(), text.size());
    qsizetype prefix = 0;
    while (prefix < common && before[prefix] == text[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && before[before.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    m_kept.resize(static_cast<size_t>(before.size()), '\0');
    m_kept = m_kept.substr(0, static_cast<size_t>(prefix)) +
             std::string(static_cast<size_t>(text.size() - prefix - suffix), '\0') +
             m_kept.substr(static_cast<size_t>(before.size() - suffix));
    m_accepted = text;

    const bool lossless = ::IsLossless(Editable());
    if (lossless != m_lossless)
    {
        m_lossless = lossless;
        emit LosslessChanged(lossless);
    }
}

QString CTextFieldWarning::Message()
{
    return QCoreApplication::translate("CTextFieldWarning", "Some characters will show as ? on the panel");
}

CTextFieldWarning::CTextFieldWarning(QWidget* parent) : QLabel(Message(), parent)
{
    hide();
}

void CTextFieldWarning::Watch(CTextFieldEdit* edit)
{
    m_edits.append(edit);
    connect(edit, &CTextFieldEdit::LosslessChanged, this, &CTextFieldWarning::Update);
    Update();
}

void CTextFieldWarning::Update()
{
    bool lossy = false;
    for (const QPointer<CTextFieldEdit>& edit : m_edits)
        lossy = lossy || (edit != nullptr && !edit->IsLossless());
    setVisible(lossy);
}
