#include "TextFieldEdit.h"

#include "DialogTemplate.h"

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
    // A field without its zero byte holds 80 bytes; it is cut from its end.
    m_accepted.clear();
    setText(QString::fromStdU16String(TextFieldToWide(field)));
}

TTextField CTextFieldEdit::Field() const
{
    return MakeTextField(text().toStdU16String());
}

void CTextFieldEdit::StoreField(TTextField& field) const
{
    WideToTextField(text().toStdU16String(), field);
}

void CTextFieldEdit::TextChanged(const QString& text)
{
    m_accepted = text;
    const bool lossless = MeasureAnsi(text.toStdU16String()).lossless;
    if (lossless != m_lossless)
    {
        m_lossless = lossless;
        emit LosslessChanged(lossless);
    }
}

QString CTextFieldWarning::Message()
{
    return QStringLiteral("Some characters will show as ? on the panel");
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
