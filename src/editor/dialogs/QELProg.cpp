#include "QELProg.h"

#include "Btn8Ctrl.h"
#include "Btn8Dlg.h"
#include "FileMessages.h"
#include "HistoryShortcuts.h"
#include "Layout.h"
#include "LayoutEdits.h"
#include "LayoutFile.h"
#include "LayoutHistory.h"
#include "MenuTemplate.h"
#include "PageCopy.h"
#include "PageVisitor.h"
#include "PanelPreview.h"
#include "PanelSettings.h"
#include "PicturesDlg.h"
#include "QelUserDlg.h"
#include "TemplateFile.h"
#include "UserPage.h"

#include <QCoreApplication>
#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace
{

const std::vector<TMenuItem>& AddMenu()
{
    static const std::vector<TMenuItem> menu{
        {CQELProg::kAddEightButton, QT_TRANSLATE_NOOP("Menu", "8 Button 2 Column"), {}},
        {CQELProg::kAddUserDefined, QT_TRANSLATE_NOOP("Menu", "User Defined"), {}},
        TMenuItem::Separator(),
        {CQELProg::kDuplicatePage, QT_TRANSLATE_NOOP("Menu", "Duplicate Selected Page"), {}},
    };
    return menu;
}

QString Wide(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

} // namespace

const TDlgTemplate& CQELProg::Template()
{
    static const TDlgTemplate tmpl{
        105,
        QT_TRANSLATE_NOOP("Dialog", "QEL-1 Programming"),
        297,
        286,
        {
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Control Name:"), 7, 9, 50, 8},
            {kControlName, EControlKind::Edit, {}, 60, 7, 103, 13, kStyleBorder | kStyleAutoHScroll},
            {kTry, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Try"), 170, 7, 50, 14},
            {kPageList, EControlKind::ListBox, {}, 7, 28, 213, 147, kStyleBorder | kStyleVScroll},
            {kAdd, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Add"), 233, 9, 50, 14},
            {kRemove, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Remove"), 233, 35, 50, 14},
            {kEdit, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Edit"), 233, 61, 50, 14},
            {kSetDefault, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Set Default"), 233, 87, 50, 14},
            {kMoveUp, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Move Up"), 233, 113, 50, 14},
            {kMoveDown, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Move Down"), 233, 139, 50, 14},
            {kClearAll, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Clear All"), 233, 165, 50, 14},
            {kLoad, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Load"), 233, 191, 50, 14},
            {kSave, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Save"), 233, 217, 50, 14},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 233, 243, 50, 14},
            {kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 233, 269, 50, 14},
            {kAutoBrightness, EControlKind::CheckBox, QT_TRANSLATE_NOOP("Dialog", "Auto Brightness"),
             21, 185, 67, 10},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Manual Brightness:"),
             98, 186, 64, 8},
            {kManualBrightness, EControlKind::Edit, {}, 165, 183, 40, 14, kStyleBorder | kStyleAutoHScroll},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "%"), 208, 186, 8, 8},
            {kPictures, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Pictures..."), 170, 199, 50, 14},
            {kAudibleFeedback, EControlKind::CheckBox, QT_TRANSLATE_NOOP("Dialog", "Give Audible Feedback"),
             21, 201, 88, 10},
            {kSleepEnabled, EControlKind::CheckBox, QT_TRANSLATE_NOOP("Dialog", "Enable Sleep on Timeout"),
             21, 218, 94, 10},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Timeout:"), 55, 235, 30, 8},
            {kTimeout, EControlKind::Edit, {}, 87, 232, 40, 14, kStyleBorder | kStyleAutoHScroll},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Seconds"), 131, 235, 30, 8},
            {kPinOnWakeup, EControlKind::CheckBox, QT_TRANSLATE_NOOP("Dialog", "Require PIN on Wakeup"),
             46, 252, 92, 10},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Timeout Pin:"), 34, 271, 42, 8},
            {kTimeoutPin, EControlKind::Edit, {}, 78, 268, 40, 14, kStyleBorder | kStyleAutoHScroll},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Security Pin:"), 130, 270, 44, 8},
            {kSecurityPin, EControlKind::Edit, {}, 176, 267, 40, 14, kStyleBorder | kStyleAutoHScroll},
        },
    };
    return tmpl;
}

TFileDialogSpec CQELProg::TemplateFileDialog()
{
    return {
        QCoreApplication::translate("FileDialog", "QEL-1 Template Files") +
            QStringLiteral(" (*.qel)|*.qel|") + QCoreApplication::translate("FileDialog", "All Files") +
            QStringLiteral(" (*.*)|*.*||"),
        QStringLiteral(".qel"),
        {},
    };
}

CQELProg::CQELProg(TLayout& layout, QWidget* parent) : CQELProg(layout, *new CLayoutHistory(layout), parent)
{
    // A child, it outlives the child windows that use it.
    m_history.setParent(this);
}

CQELProg::CQELProg(TLayout& layout, CLayoutHistory& history, QWidget* parent)
    : QDialog(parent), m_layout(layout), m_history(history)
{
    BuildDialog(this, Template());
    m_list = DlgItem<QListWidget>(this, kPageList);
    const std::pair<int, void (CQELProg::*)()> buttons[] = {
        {kAdd, &CQELProg::OnAdd},           {kRemove, &CQELProg::OnRemove},
        {kEdit, &CQELProg::OnEdit},         {kSetDefault, &CQELProg::OnSetDefault},
        {kMoveUp, &CQELProg::OnMoveUp},     {kMoveDown, &CQELProg::OnMoveDown},
        {kClearAll, &CQELProg::OnClearAll}, {kLoad, &CQELProg::OnLoad},
        {kSave, &CQELProg::OnSave},         {kTry, &CQELProg::OnTry},
        {kPictures, &CQELProg::OnPictures},
    };
    for (const auto& [id, handler] : buttons)
        connect(DlgItem<QPushButton>(this, id), &QPushButton::clicked, this, handler);
    AddHistoryShortcuts(*this, history);
    connect(&history, &CLayoutHistory::Applied, this, &CQELProg::OnApplied);
    m_list->installEventFilter(this);
    connect(m_list->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &CQELProg::EndRename);
    Fill();
}

void CQELProg::OnApplied(const TStepScope& scope)
{
    // An undo or redo, here or in a dialog opened from here: the list shows
    // the pages as they now are, with the step's page selected.
    if (scope.settings)
        FillSettings();
    Refill();
    if (const int row = RowOf(scope.page); row >= 0)
    {
        m_list->setCurrentRow(row);
        m_list->item(row)->setSelected(true);
    }
}

int CQELProg::RowOf(const TListItem* page) const
{
    for (int row = 0; page != nullptr && row < m_list->count(); ++row)
        if (EntryAt(row) == page)
            return row;
    return -1;
}

QString CQELProg::EntryText(const TListItem& page) const
{
    QString name = Wide(page.name);
    if (m_layout.defaultPage != -1 && page.id == m_layout.defaultPage)
        return QStringLiteral("*** ") + name + QStringLiteral(" ***");
    return name;
}

TListItem* CQELProg::EntryAt(int row) const
{
    const QListWidgetItem* item = row >= 0 ? m_list->item(row) : nullptr;
    return item != nullptr ? static_cast<TListItem*>(item->data(Qt::UserRole).value<void*>()) : nullptr;
}

int CQELProg::SelectedRow() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void CQELProg::InsertEntry(int row, const QString& text, TListItem* page)
{
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(page)));
    m_list->insertItem(row, item);
    m_list->setCurrentItem(item);
    item->setSelected(true);
}

void CQELProg::Fill()
{
    FillSettings();
    Refill();
}

void CQELProg::FillSettings()
{
    DlgItem<QLineEdit>(this, kControlName)->setText(Wide(m_layout.controlName));
    DlgItem<QLineEdit>(this, kTimeoutPin)->setText(Wide(m_layout.timeoutPin));
    DlgItem<QLineEdit>(this, kSecurityPin)->setText(Wide(m_layout.securityPin));
    DlgItem<QCheckBox>(this, kPinOnWakeup)->setChecked(m_layout.pinOnWakeup != 0);
    DlgItem<QCheckBox>(this, kAudibleFeedback)->setChecked(m_layout.audibleFeedback > 0);
    DlgItem<QCheckBox>(this, kSleepEnabled)->setChecked(m_layout.sleepTimeout > 0);
    DlgItem<QLineEdit>(this, kTimeout)->setText(QString::number(m_layout.sleepTimeout));
    DlgItem<QCheckBox>(this, kAutoBrightness)->setChecked(m_layout.autoBrightness != 0);
    DlgItem<QLineEdit>(this, kManualBrightness)->setText(QString::number(m_layout.manualBrightness));
}

void CQELProg::Refill()
{
    m_list->clear();
    for (const auto& page : m_layout.pages)
    {
        auto* item = new QListWidgetItem(EntryText(*page));
        item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(page.get())));
        m_list->addItem(item);
    }
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
}

void CQELProg::OnAdd()
{
    QMenu menu(this);
    BuildMenu(menu, AddMenu());
    FindCommand(menu, kDuplicatePage)->setEnabled(EntryAt(SelectedRow()) != nullptr);
    const QPoint at = PopupTopLeft(menu, QCursor::pos(), EPopupPlacement::HCentreAbove);
    AddPage(CommandOf(UiServices().PopupMenu(this, menu, at)));
}

void CQELProg::AddPage(int command)
{
    if (command == kDuplicatePage)
    {
        OnDuplicate();
        return;
    }
    if (command != kAddEightButton && command != kAddUserDefined)
        return;
    // Below the selection, or after the last entry without one.
    int anchorRow = SelectedRow();
    if (anchorRow < 0)
        anchorRow = m_list->count() - 1;
    TListItem* anchor = EntryAt(anchorRow);

    // The page goes in after the anchor, or at the end when the anchor has
    // left the list meanwhile (an undo in the page's dialog).
    const auto place = [this, anchor]
    {
        const int at = m_layout.pages.IndexOf(anchor);
        return at >= 0 ? static_cast<size_t>(at) + 1 : m_layout.pages.Size();
    };

    if (command == kAddUserDefined)
    {
        auto page = std::make_unique<TUserPage>(u"User Page", m_layout.pages.NextPageId());
        // Ends before the page: steps on it leave the history while it exists.
        CLayoutHistory::CNewPage scope(m_history);
        CQelUserDlg dlg(m_layout, *page, m_history, this);
        if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
            return;
        const QString name = Wide(dlg.PageName());
        TListItem* added = scope.Commit(place(), std::move(page));
        InsertEntry(m_layout.pages.IndexOf(added), name, added);
        return;
    }

    auto page = std::make_unique<CBtn8Ctrl>(u"8 Button");
    CBtn8Dlg dlg(page.get(), this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    const QString name = Wide(page->name);
    TListItem* added = m_history.Edits().AddPage(place(), std::move(page));
    InsertEntry(m_layout.pages.IndexOf(added), name, added);
}

void CQELProg::OnDuplicate()
{
    const TListItem* page = EntryAt(SelectedRow());
    if (page == nullptr || m_renaming != nullptr)
        return;
    std::unique_ptr<TListItem> copy = CopyPage(*page, m_layout.pages.NextPageId(), CopyName(page->name));
    if (copy == nullptr)
        return;
    const QString name = Wide(copy->name);
    TListItem* added =
        m_history.Edits().AddPage(static_cast<size_t>(m_layout.pages.IndexOf(page)) + 1, std::move(copy),
                                  CLayoutEdits::EPageOrigin::Copy);
    InsertEntry(m_layout.pages.IndexOf(added), name, added);
}

void CQELProg::OnRename()
{
    const int row = SelectedRow();
    TListItem* page = EntryAt(row);
    if (page == nullptr || m_renaming != nullptr)
        return;
    // The plain name is edited, without the default page's marks.
    QListWidgetItem* item = m_list->item(row);
    m_renaming = page;
    item->setText(Wide(page->name));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_list->editItem(item);
}

void CQELProg::EndRename()
{
    TListItem* page = m_renaming;
    m_renaming = nullptr;
    const int row = RowOf(page);
    if (row < 0)
        return;
    QListWidgetItem* item = m_list->item(row);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    const std::u16string name = item->text().toStdU16String();
    // An empty name keeps the old one.
    if (!name.empty() && name != page->name)
        m_history.Edits().RenamePage(*page, name);
    item->setText(EntryText(*page));
}

bool CQELProg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress)
    {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods =
            key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_F2 && mods == Qt::NoModifier)
        {
            OnRename();
            return true;
        }
        if (key->key() == Qt::Key_D && mods == Qt::ControlModifier)
        {
            OnDuplicate();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CQELProg::OnRemove()
{
    const int row = SelectedRow();
    TListItem* page = EntryAt(row);
    if (page == nullptr)
        return;
    delete m_list->takeItem(row);
    m_history.Edits().RemovePage(*page);
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
}

void CQELProg::OnEdit()
{
    const int row = SelectedRow();
    TListItem* page = EntryAt(row);
    if (page == nullptr)
        return;
    // A page is edited as its kind only when its stored type code names it too.
    const auto edit = Overloaded{
        [&](TUserPage& user)
        {
            if (page->type != kPageUser)
                return;
            CQelUserDlg dlg(m_layout, user, m_history, this);
            if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
                return;
            // The plain name until the next refill, in the page's row (an undo in
            // the dialog may have refilled the list).
            const int now = RowOf(page);
            if (now < 0)
                return;
            delete m_list->takeItem(now);
            InsertEntry(now, Wide(dlg.PageName()), page);
        },
        [&](CBtn8Ctrl& eight)
        {
            if (page->type != kPageEightButton)
                return;
            const CLayoutEdits::TEightTexts names = eight.names;
            const CLayoutEdits::TEightTexts texts = eight.texts;
            CBtn8Dlg dlg(&eight, this);
            // The dialog writes the texts itself; the step records what it replaced.
            if (UiServices().ExecDialog(dlg) == QDialog::Accepted)
                m_history.Edits().EightButtonWritten(eight, names, texts);
        },
        [](TListItem&) {},
    };
    VisitPage(*page, edit);
}

void CQELProg::OnSetDefault()
{
    TListItem* page = EntryAt(SelectedRow());
    if (page == nullptr)
        return;
    m_history.Edits().SetDefaultPage(*page, page->id == m_layout.defaultPage ? -1 : page->id);
    Refill();
}

void CQELProg::OnMoveUp()
{
    const int row = SelectedRow();
    TListItem* page = EntryAt(row);
    if (page == nullptr || row == 0)
        return;
    delete m_list->takeItem(row);
    InsertEntry(row - 1, Wide(page->name), page);
    m_history.Edits().MovePage(*page, true);
}

void CQELProg::OnMoveDown()
{
    const int row = SelectedRow();
    TListItem* page = EntryAt(row);
    if (page == nullptr || m_layout.pages.Next(page) == nullptr)
        return;
    delete m_list->takeItem(row);
    InsertEntry(row + 1, Wide(page->name), page);
    m_history.Edits().MovePage(*page, false);
}

void CQELProg::OnClearAll()
{
    const EMsgResult answer = UiServices().MessageBox(
        this,
        QCoreApplication::translate("CQELProg", "This will clear all entries from this control.\nDo you "
                                                "Want to continue ?"),
        QCoreApplication::translate("CQELProg", "Clear All Entries"), EMsgButtons::YesNo, EMsgIcon::Question);
    if (answer != EMsgResult::Yes)
        return;
    m_list->clear();
    m_history.Edits().ClearAll();
}

void CQELProg::OnLoad()
{
    if (m_file != nullptr)
    {
        if (m_file->Load(this))
            Fill();
        return;
    }
    const std::optional<QString> path = UiServices().GetOpenFileName(this, TemplateFileDialog());
    if (!path)
        return;
    const TFileResult result = LoadTemplateFile(m_layout, path->toStdString());
    if (!result)
    {
        ShowFileError(this, result, *path, EFileKind::Template);
        return;
    }
    // Another document: nothing before it can be undone.
    m_history.Clear();
    Fill();
}

void CQELProg::OnSave()
{
    // The file holds what the dialog shows: the settings on screen first.
    if (!StoreSettings())
        return;
    if (m_file != nullptr)
    {
        m_file->SaveAs(this);
        return;
    }
    const std::optional<QString> path = UiServices().GetSaveFileName(this, TemplateFileDialog());
    if (!path)
        return;
    const TFileResult result = SaveTemplateFile(m_layout, path->toStdString());
    if (!result)
        ShowFileError(this, result, *path, EFileKind::Template);
}

void CQELProg::OnTry()
{
    CPanelPreview preview(m_layout, nullptr, this);
    UiServices().ExecDialog(preview);
}

void CQELProg::OnPictures()
{
    CPicturesDlg dlg(m_layout, this);
    UiServices().ExecDialog(dlg);
}

bool CQELProg::ReadInteger(int id, int32_t& value, bool brightness)
{
    auto* edit = DlgItem<QLineEdit>(this, id);
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    QString problem;
    if (!ok)
        problem = QCoreApplication::translate("CQELProg", "Enter an integer.");
    else if (brightness && (v < 1 || v > 100))
        problem =
            QCoreApplication::translate("CQELProg", "Enter an integer between %1 and %2.").arg(1).arg(100);
    if (problem.isEmpty())
    {
        value = v;
        return true;
    }
    UiServices().MessageBox(this, problem, QStringLiteral("QELMorvane"), EMsgButtons::Ok, EMsgIcon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CQELProg::accept()
{
    if (StoreSettings())
        QDialog::accept();
}

bool CQELProg::StoreSettings()
{
    int32_t timeout = 0;
    int32_t brightness = 0;
    // In the order the controls are read: Timeout before Manual Brightness.
    if (!ReadInteger(kTimeout, timeout, false) || !ReadInteger(kManualBrightness, brightness, true))
        return false;
    const auto checked = [this](int id) { return DlgItem<QCheckBox>(this, id)->isChecked(); };
    const auto text = [this](int id) { return DlgItem<QLineEdit>(this, id)->text().toStdU16String(); };
    TPanelSettings settings;
    settings.timeoutPin = text(kTimeoutPin);
    settings.securityPin = text(kSecurityPin);
    settings.pinOnWakeup = checked(kPinOnWakeup) ? 1 : 0;
    settings.sleepTimeout = checked(kSleepEnabled) ? timeout : 0;
    settings.audibleFeedback = checked(kAudibleFeedback) ? 1 : 0;
    settings.autoBrightness = checked(kAutoBrightness) ? 1 : 0;
    settings.manualBrightness = static_cast<int8_t>(brightness);
    settings.controlName = text(kControlName);
    m_history.Edits().SetSettings(settings);
    return true;
}
