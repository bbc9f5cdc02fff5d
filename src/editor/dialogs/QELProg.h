#pragma once

#include "DialogTemplate.h"
#include "LayoutHistory.h"
#include "UiServices.h"

#include <QDialog>

#include <memory>

class ITemplateFile;
class QListWidget;
class TLayout;
class TListItem;
struct TStepScope;

// "QEL-1 Programming": the layout's page list and the panel's settings.
// Page list operations change the document at once; the settings are
// copied in when the dialog opens (and after Load) and written back by OK,
// and by Save, which writes what the dialog shows.
//
// With a history, every page list operation, the settings on OK and what
// the dialogs opened from here change are steps; Ctrl+Z, Ctrl+Shift+Z and
// Ctrl+Y undo and redo them, and the list follows. In the list, Ctrl+D
// duplicates the selected page and F2 renames it. Load replaces the
// document and with it the history.
class CQELProg : public QDialog
{
public:
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        kPageList = 1021,
        kAdd = 1022,
        kRemove = 1023,
        kEdit = 1024,
        kMoveUp = 1025,
        kMoveDown = 1026,
        kClearAll = 1027,
        kAudibleFeedback = 1028,
        kSleepEnabled = 1029,
        kTimeout = 1030,
        kPinOnWakeup = 1031,
        kTimeoutPin = 1032,
        kLoad = 1033,
        kSecurityPin = 1034,
        kSave = 1035,
        kAutoBrightness = 1036,
        kManualBrightness = 1037,
        kSetDefault = 1038,
        kControlName = 1039,
        // Opens the panel preview; beside the control name, where the template leaves room.
        kTry = 1040,
        // Opens the image library's pictures; beside the audible feedback box.
        kPictures = 1041,
    };
    // Commands of the Add menu (menu 1085).
    enum ECommand : int
    {
        kAddEightButton = 32771,
        kAddUserDefined = 1009,
        // After a separator.
        kDuplicatePage = 32790,
    };
    static const TDlgTemplate& Template();
    static TFileDialogSpec TemplateFileDialog();

    // With a history of the dialog's own.
    explicit CQELProg(TLayout& layout, QWidget* parent = nullptr);
    // Changes become steps of the history.
    CQELProg(TLayout& layout, CLayoutHistory& history, QWidget* parent = nullptr);

    // Load and Save go through the program's open file (which may be null:
    // then they only ask for a file and read or write it).
    void SetTemplateFile(ITemplateFile* file) { m_file = file; }

    void OnAdd();
    void OnRemove();
    void OnEdit();
    void OnSetDefault();
    void OnMoveUp();
    void OnMoveDown();
    void OnClearAll();
    void OnLoad();
    void OnSave();
    void OnTry();
    void OnPictures();
    // A copy of the selected page, "NAME copy" with an id of its own, goes in
    // after it and is selected. Ctrl+D in the list does the same.
    void OnDuplicate();
    // F2 in the list: the selected page's name is edited in its row.
    void OnRename();

protected:
    void accept() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    void FillSettings();
    void Refill();
    void OnApplied(const TStepScope& scope);
    // The list's row of a page, or -1.
    int RowOf(const TListItem* page) const;
    QString EntryText(const TListItem& page) const;
    TListItem* EntryAt(int row) const;
    int SelectedRow() const;
    void InsertEntry(int row, const QString& text, TListItem* page);
    void AddPage(int command);
    bool ReadInteger(int id, int32_t& value, bool brightness);
    // The settings on screen into the document, as one step; false (after
    // saying why) when a number is not one it takes.
    bool StoreSettings();
    // The row being renamed has closed its editor.
    void EndRename();

    TLayout& m_layout;
    CLayoutHistory& m_history;
    QListWidget* m_list;
    ITemplateFile* m_file = nullptr;
    TListItem* m_renaming = nullptr;
};
