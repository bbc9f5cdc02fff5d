#pragma once

#include "StepScope.h"

#include <QObject>
#include <QUndoStack>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CGroupStep;
class CLayoutCommand;
class CLayoutEdits;
class TLayout;
class TListItem;
class TUserPage;

// The layout document's history for the whole run: one undo stack of steps.
// Made by the application next to the document; every window makes its
// changes through Edits() and undoes and redoes them here.
//
// Steps name pages and objects that must exist when they are undone or
// redone. Since a step is only undone after every later one, that holds by
// itself for whatever only steps change; the history looks after the rest:
// a page open in a user page dialog cannot be undone or redone out of the
// document, and the steps on a page being added leave with its dialog.
class CLayoutHistory : public QObject
{
    Q_OBJECT

public:
    explicit CLayoutHistory(TLayout& layout, QObject* parent = nullptr);
    ~CLayoutHistory() override;
    CLayoutHistory(const CLayoutHistory&) = delete;
    CLayoutHistory& operator=(const CLayoutHistory&) = delete;

    // The history made for a document (the add-image dialog finds it here,
    // whoever opened it). Every document the editor changes has one: asking
    // for another is a fault of the program, and throws std::logic_error.
    static CLayoutHistory& Of(const TLayout& layout);

    TLayout& Layout() const { return m_layout; }
    const QUndoStack& Stack() const { return m_stack; }

    bool CanUndo() const;
    bool CanRedo() const;
    // The names of the steps an undo and a redo would take, empty without.
    QString UndoText() const;
    QString RedoText() const;
    void Undo();
    void Redo();
    // The document was replaced (a Load, a Connect's download): every step
    // goes, and the document as it now is counts as saved.
    void Clear();

    // The document as it now is is the one in its file (a save): unsaved
    // changes are the steps taken, undone or redone from here.
    void SetClean();
    // No state of the history is the saved one (a layout brought back after
    // a crash holds changes its file lacks).
    void SetUnsaved();
    bool IsClean() const;

    // The one way to change the document: each change a step.
    CLayoutEdits& Edits();

    // A page shown in a dialog while the object lives: no undo or redo takes
    // it out of the document meanwhile.
    class COpenPage
    {
    public:
        COpenPage(CLayoutHistory& history, const TListItem& page);
        ~COpenPage();
        COpenPage(const COpenPage&) = delete;
        COpenPage& operator=(const COpenPage&) = delete;

    private:
        CLayoutHistory& m_history;
        const TListItem* m_page;
    };

    // A page made for Add, edited before it is in the document. While it
    // lives, the history's steps are those of the page's dialog alone, on a
    // stack of their own: undo and redo go no further back than the dialog's
    // first step. When it ends, those steps go without being undone (the
    // pictures they added to the library stay, as steps of their own on the
    // document's stack); Commit then puts the page in by one step. Without
    // Commit the page is about to be destroyed.
    class CNewPage
    {
    public:
        explicit CNewPage(CLayoutHistory& history);
        ~CNewPage();
        CNewPage(const CNewPage&) = delete;
        CNewPage& operator=(const CNewPage&) = delete;

        // Puts the page into the document's list at `at`, as one step.
        TListItem* Commit(size_t at, std::unique_ptr<TListItem> page);

    private:
        CLayoutHistory& m_history;
        bool m_ended = false;
    };

    // Pages open in dialogs, as COpenPage registers them.
    const std::vector<const TListItem*>& OpenPages() const { return m_open; }

signals:
    // Whether, or what, an undo or a redo would do has changed.
    void Changed();
    // An undo or a redo has changed the document.
    void Applied(const TStepScope& scope);
    // The document has come to, or left, the state last saved.
    void CleanChanged(bool clean);

private:
    friend class CLayoutEdits;

    // Carries out a step (a step made done is only recorded) and keeps it.
    void Push(std::unique_ptr<CLayoutCommand> step);
    void BeginGroup(const QString& text);
    void EndGroup();
    // The stack steps go to now: a new page's while its dialog is open.
    QUndoStack& Current();
    const QUndoStack& Current() const;
    void Follow(QUndoStack& stack);
    void BeginNewPage();
    void EndNewPage();
    const CLayoutCommand* StepAt(int index) const;
    bool TakesOutOpenPage(const CLayoutCommand* step) const;
    uint64_t TopSerial() const;
    void CheckClean();

    TLayout& m_layout;
    QUndoStack m_stack;
    // The steps of a new page's dialog, while it is open.
    std::unique_ptr<QUndoStack> m_newPageStack;
    std::unique_ptr<CLayoutEdits> m_edits;
    // The step the changes of an open group go into, and how deep it is.
    std::unique_ptr<CGroupStep> m_group;
    int m_groupDepth = 0;
    std::vector<const TListItem*> m_open;
    // The saved state, named by the step on top of the document's stack then
    // (0: the empty stack); none when no state is saved.
    std::optional<uint64_t> m_cleanSerial = 0;
    bool m_clean = true;
};

// Whether a face, a slider or a page of the document, or a page open in a
// dialog of the history, names the picture.
bool PictureInUse(const TLayout& layout, const CLayoutHistory& history, int32_t id);
