#pragma once

#include "LayoutCommand.h"

#include <QObject>
#include <QUndoStack>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CPageEdits;
class TLayout;
class TListItem;
class TUserPage;

// The layout document's history for the whole run: one undo stack of steps
// (LayoutCommand.h). Made by the application next to the document; the main
// window and the dialogs push their changes here and undo and redo them.
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

    // The history made for a document, or null (the add-image dialog finds
    // it here, whoever opened it).
    static CLayoutHistory* Of(const TLayout& layout);

    TLayout& Layout() const { return m_layout; }
    const QUndoStack& Stack() const { return m_stack; }

    // Carries out a step (a step made done is only recorded) and keeps it.
    void Push(std::unique_ptr<CLayoutCommand> step);
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

    // The page canvas's changes as steps.
    CPageEdits& Edits();

    // A page shown in a dialog while the object lives: no undo or redo takes
    // it out of the document meanwhile.
    class COpenPage
    {
    public:
        COpenPage(CLayoutHistory* history, const TListItem& page);
        ~COpenPage();
        COpenPage(const COpenPage&) = delete;
        COpenPage& operator=(const COpenPage&) = delete;

    private:
        CLayoutHistory* m_history;
        const TListItem* m_page;
    };

    // A page made for Add, edited before it is in the document. When its
    // dialog ends, the steps made on it leave the history without being
    // undone (the pictures they added to the library stay, as steps of their
    // own); Commit then puts the page in by one step. Without Commit the page
    // is about to be destroyed.
    class CNewPage
    {
    public:
        CNewPage(CLayoutHistory* history, const TUserPage& page);
        ~CNewPage();
        CNewPage(const CNewPage&) = delete;
        CNewPage& operator=(const CNewPage&) = delete;

        // Carries out the step that puts the page into the document.
        void Commit(std::unique_ptr<CLayoutCommand> add);

    private:
        CLayoutHistory* m_history;
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
    void BeginNewPage(const TUserPage& page);
    void EndNewPage(std::unique_ptr<CLayoutCommand> add);
    const CLayoutCommand* StepAt(int index) const;
    bool TakesOutOpenPage(const CLayoutCommand* step) const;
    uint64_t TopSerial() const;
    void CheckClean();

    TLayout& m_layout;
    QUndoStack m_stack;
    std::unique_ptr<CPageEdits> m_edits;
    std::vector<const TListItem*> m_open;
    const TUserPage* m_newPage = nullptr;
    // The lowest place in the stack a step was pushed at while the new page
    // was open: every step from there up was made during its dialog.
    std::optional<int> m_newPageFirst;
    // The saved state, named by the step on top of the stack then (0: the
    // empty stack); none when no state is saved. Named by the step rather
    // than by its place, so that the steps a new page's dialog takes away
    // (merged out of the stack) never leave a stale place behind.
    std::optional<uint64_t> m_cleanSerial = 0;
    bool m_clean = true;
};

// Whether a face, a slider or a page of the document, or a page open in a
// dialog of the history (which may be null), names the picture.
bool PictureInUse(const TLayout& layout, const CLayoutHistory* history, int32_t id);

// Carries out a step: kept in the history when there is one, done and
// dropped otherwise.
void Apply(CLayoutHistory* history, std::unique_ptr<CLayoutCommand> step);
