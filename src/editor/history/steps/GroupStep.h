#pragma once

#include "LayoutCommand.h"

#include <memory>
#include <vector>

// Several changes made as one step (a move of a whole selection, a paste of
// many objects). Its parts are done as they are added; the step undoes them
// in reverse and does them again in order.
class CGroupStep : public CLayoutCommand
{
public:
    explicit CGroupStep(const QString& text);

    // Takes a part that is already done.
    void Add(std::unique_ptr<CLayoutCommand> part);
    bool IsEmpty() const { return m_parts.empty(); }
    // The one part, taken out, when there is only one.
    std::unique_ptr<CLayoutCommand> TakeOnlyPart();

    TStepScope Scope() const override;
    bool TakesOut(const TListItem& page) const override;
    bool IsAbout(const TListItem& page) const override;
    std::unique_ptr<CLayoutCommand> KeptPictures() const override;

protected:
    void Do() override;
    void Undo() override;
    // A run of key presses on a selection: each part takes in its twin.
    bool Absorb(const CLayoutCommand& next) override;

private:
    std::vector<std::unique_ptr<CLayoutCommand>> m_parts;
};
