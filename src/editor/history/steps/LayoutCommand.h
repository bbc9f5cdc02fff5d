#pragma once

#include "StepScope.h"

#include <QString>
#include <QUndoCommand>

#include <cstdint>
#include <memory>

class TListItem;

// One step of the layout document's history: a change that knows how to put
// itself back. A step holds only what it changed, never a copy of the
// document. It remembers whether it is done, so that asking it for the state
// it is in does nothing: a step made "done" (a drag already shown as it
// happened) is only recorded by its first redo.
class CLayoutCommand : public QUndoCommand
{
public:
    explicit CLayoutCommand(const QString& text, bool done = false);

    void redo() final;
    void undo() final;
    int id() const final;
    bool mergeWith(const QUndoCommand* other) final;

    bool IsDone() const { return m_done; }
    // Unique among the steps of the run, so that a history can tell the step
    // it was saved at from any later one.
    uint64_t Serial() const { return m_serial; }
    // The document was saved with this step on top: it takes in no more key
    // presses (Absorb), or the saved state would change under its name.
    void Seal() const { m_sealed = true; }
    // What the last redo or undo touched.
    virtual TStepScope Scope() const { return {}; }
    // Whether the next undo (of a done step) or redo (of an undone one) takes
    // the page out of the document.
    virtual bool TakesOut(const TListItem& page) const;
    // Whether the step changes that page's face, objects or name.
    virtual bool IsAbout(const TListItem& page) const;
    // A step already done that keeps what this (done) step put into the image
    // library, for when the steps on a page go and the pictures stay; null
    // when it put none there.
    virtual std::unique_ptr<CLayoutCommand> KeptPictures() const;

protected:
    virtual void Do() = 0;
    virtual void Undo() = 0;
    // Takes the change of the next step into this one (a run of key presses
    // on one object); false when the two stay apart.
    virtual bool Absorb(const CLayoutCommand& next);

private:
    bool m_done;
    // Not part of the change the step holds: a mark the history sets on it.
    mutable bool m_sealed = false;
    uint64_t m_serial;
};
