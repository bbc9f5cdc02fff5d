#include "DialogTemplate.h"

#include "DropDown.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>

namespace
{

// Rounds a * b / c to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c)
{
    const long long p = static_cast<long long>(a) * b;
    const long long r = (p >= 0 ? p + c / 2 : p - c / 2) / c;
    return static_cast<int>(r);
}

// Labels show an ampersand only when it is doubled; a single one marks a
// mnemonic, which a label without a buddy has no use for.
QString LabelText(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i)
    {
        if (caption[i] == u'&')
        {
            if (i + 1 < caption.size() && caption[i + 1] == u'&')
            {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

// A template's text in the language of the translators installed; the
// templates mark their texts with QT_TRANSLATE_NOOP("Dialog", ...).
QString Translated(const QString& text)
{
    if (text.isEmpty())
        return text;
    return QCoreApplication::translate("Dialog", text.toUtf8().constData());
}

Qt::Alignment TextAlignment(uint32_t style)
{
    if (style & kStyleCentre)
        return Qt::AlignHCenter | Qt::AlignTop;
    if (style & kStyleRight)
        return Qt::AlignRight | Qt::AlignTop;
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* MakeControl(QWidget* parent, const TDlgControl& c, const QRect& r)
{
    // An edit field's caption is its initial content, not a text of ours.
    const QString caption = c.kind == EControlKind::Edit ? c.caption : Translated(c.caption);
    QWidget* w = nullptr;
    QRect geometry = r;
    switch (c.kind)
    {
    case EControlKind::Static:
    {
        auto* label = new QLabel(LabelText(caption), parent);
        label->setAlignment(TextAlignment(c.style));
        label->setWordWrap(r.height() > QFontMetrics(parent->font()).height() * 3 / 2);
        if (c.style & kStyleBorder)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Templates were measured with a narrower font than ours: a one-line
        // label that would cut its text grows away from its aligned edge.
        const int need = label->sizeHint().width();
        if (!label->wordWrap() && need > geometry.width())
        {
            const int grow = need - geometry.width();
            if (c.style & kStyleRight)
                geometry.setLeft(geometry.left() - grow);
            else if (c.style & kStyleCentre)
                geometry.adjust(-grow / 2, 0, grow - grow / 2, 0);
            else
                geometry.setWidth(need);
        }
        w = label;
        break;
    }
    case EControlKind::Edit:
        if (c.style & kStyleMultiLine)
        {
            auto* edit = new QPlainTextEdit(c.caption, parent);
            edit->setReadOnly(c.style & kStyleReadOnly);
            edit->setVerticalScrollBarPolicy((c.style & kStyleVScroll) ? Qt::ScrollBarAsNeeded
                                                                       : Qt::ScrollBarAlwaysOff);
            edit->setLineWrapMode((c.style & kStyleHScroll) ? QPlainTextEdit::NoWrap
                                                            : QPlainTextEdit::WidgetWidth);
            if (!(c.style & kStyleBorder))
                edit->setFrameStyle(QFrame::NoFrame);
            w = edit;
        }
        else
        {
            auto* edit = new QLineEdit(c.caption, parent);
            edit->setReadOnly(c.style & kStyleReadOnly);
            if (c.style & kStylePassword)
                edit->setEchoMode(QLineEdit::Password);
            if (c.style & kStyleNumber)
                edit->setValidator(new QIntValidator(0, 2147483647, edit));
            if (c.style & kStyleRight)
                edit->setAlignment(Qt::AlignRight);
            edit->setFrame(c.style & kStyleBorder);
            w = edit;
        }
        break;
    case EControlKind::Button:
    case EControlKind::DefButton:
    {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(c.kind == EControlKind::DefButton);
        w = button;
        break;
    }
    case EControlKind::CheckBox:
    case EControlKind::RadioButton:
    {
        QAbstractButton* box = c.kind == EControlKind::CheckBox
                                   ? static_cast<QAbstractButton*>(new QCheckBox(caption, parent))
                                   : new QRadioButton(caption, parent);
        // Like a label, a box whose caption our font draws wider than the
        // template planned grows to the right rather than cut it.
        geometry.setWidth(std::max(geometry.width(), box->sizeHint().width()));
        w = box;
        break;
    }
    case EControlKind::GroupBox:
        w = new QGroupBox(LabelText(caption), parent);
        break;
    case EControlKind::ListBox:
    {
        auto* list = new QListWidget(parent);
        list->setSortingEnabled(c.style & kStyleSorted);
        if (c.style & kStyleMultiSelect)
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        w = list;
        break;
    }
    case EControlKind::ComboBox:
    {
        auto* combo = new CDropDown(parent);
        combo->setEditable(c.style & kStyleEditable);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setProperty("qelSorted", bool(c.style & kStyleSorted));
        // The template's height includes the drop-down list; the closed box is
        // as tall as its font needs.
        geometry.setHeight(std::min(r.height(), combo->sizeHint().height()));
        w = combo;
        break;
    }
    case EControlKind::ProgressBar:
    {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        bar->setRange(0, 100);
        bar->setValue(0);
        w = bar;
        break;
    }
    case EControlKind::Icon:
    {
        auto* label = new QLabel(parent);
        const QIcon icon = QApplication::windowIcon();
        if (!icon.isNull())
            label->setPixmap(icon.pixmap(32, 32));
        w = label;
        break;
    }
    case EControlKind::Frame:
    {
        auto* frame = new QFrame(parent);
        if (c.style & kStyleBorder)
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        w = frame;
        break;
    }
    }
    if (c.id != kStaticId)
        w->setObjectName(QString::number(c.id));
    w->setGeometry(geometry);
    w->setEnabled(!(c.style & kStyleDisabled));
    w->setVisible(!(c.style & kStyleHidden));
    return w;
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics fm(font);
    const int cx =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max(1, (cx / 26 + 1) / 2);
    m_baseY = std::max(1, fm.height());
}

int CDialogUnits::ToPixelsX(int units) const
{
    return MulDiv(units, m_baseX, 4);
}
int CDialogUnits::ToPixelsY(int units) const
{
    return MulDiv(units, m_baseY, 8);
}

QRect CDialogUnits::ToPixels(int x, int y, int w, int h) const
{
    const int left = ToPixelsX(x);
    const int top = ToPixelsY(y);
    return QRect(left, top, ToPixelsX(x + w) - left, ToPixelsY(y + h) - top);
}

CDialogUnits BuildDialog(QWidget* dialog, const TDlgTemplate& tmpl)
{
    const CDialogUnits units(dialog->font());
    dialog->setWindowTitle(Translated(tmpl.title));
    dialog->setFixedSize(units.ToPixelsX(tmpl.w), units.ToPixelsY(tmpl.h));
    auto* asDialog = qobject_cast<QDialog*>(dialog);
    QButtonGroup* group = nullptr;
    for (const TDlgControl& c : tmpl.controls)
    {
        QWidget* w = MakeControl(dialog, c, units.ToPixels(c.x, c.y, c.w, c.h));
        if (c.style & kStyleGroup)
            group = nullptr;
        if (auto* radio = qobject_cast<QRadioButton*>(w))
        {
            // Exclusivity belongs to the template's group, not to the parent.
            radio->setAutoExclusive(false);
            if (group == nullptr)
                group = new QButtonGroup(dialog);
            group->addButton(radio);
        }
        auto* button = qobject_cast<QPushButton*>(w);
        if (asDialog != nullptr && button != nullptr)
        {
            if (c.id == 1)
                QObject::connect(button, &QPushButton::clicked, asDialog, &QDialog::accept);
            else if (c.id == 2)
                QObject::connect(button, &QPushButton::clicked, asDialog, &QDialog::reject);
        }
    }
    return units;
}

int AddComboItem(QComboBox* combo, const QString& text, const QVariant& data)
{
    int at = combo->count();
    if (combo->property("qelSorted").toBool())
    {
        at = 0;
        while (at < combo->count() && QString::compare(combo->itemText(at), text, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    combo->insertItem(at, text, data);
    return at;
}

QWidget* PlaceOverControl(QWidget* dialog, int controlId, QWidget* widget, const QMargins& inset, int newId)
{
    widget->setParent(dialog);
    widget->setGeometry(ControlRect(dialog, controlId).marginsRemoved(inset));
    if (newId != kStaticId)
        widget->setObjectName(QString::number(newId));
    widget->raise();
    widget->show();
    return widget;
}

QWidget* ReplaceControl(QWidget* dialog, int controlId, QWidget* widget)
{
    QWidget* old = DlgItem<QWidget>(dialog, controlId);
    widget->setParent(dialog);
    if (old == nullptr)
        return widget;
    widget->setGeometry(old->geometry());
    widget->setObjectName(old->objectName());
    widget->setEnabled(old->isEnabled());
    widget->setVisible(!old->isHidden());
    // Keep the tab order: the new widget comes right where the old one was.
    QWidget::setTabOrder(old, widget);
    widget->stackUnder(old);
    delete old;
    return widget;
}

QRect ControlRect(const QWidget* dialog, int controlId)
{
    const QWidget* control = DlgItem<QWidget>(dialog, controlId);
    return control != nullptr ? control->geometry() : QRect();
}

void SetRadioChecked(const QWidget* dialog, int controlId, bool checked)
{
    auto* radio = DlgItem<QRadioButton>(dialog, controlId);
    if (radio == nullptr)
        return;
    QButtonGroup* group = radio->group();
    const bool exclusive = group != nullptr && group->exclusive();
    if (exclusive && !checked)
        group->setExclusive(false);
    radio->setChecked(checked);
    if (exclusive && !checked)
        group->setExclusive(true);
}

bool IsChecked(const QWidget* dialog, int controlId)
{
    const auto* button = DlgItem<QAbstractButton>(dialog, controlId);
    return button != nullptr && button->isChecked();
}
