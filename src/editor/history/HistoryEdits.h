#pragma once

#include "PageEdits.h"

class CLayoutHistory;

// The page canvas's changes recorded as steps of the layout's history. A
// change that changes nothing (OK on an unchanged face) makes no step.
class CHistoryEdits : public CPageEdits
{
public:
    explicit CHistoryEdits(CLayoutHistory& history);

    size_t Add(TUserPage& page, std::unique_ptr<TUserObject> object) override;
    void Delete(TUserPage& page, size_t index) override;
    void EndMoveResize(TUserPage& page, size_t index, const TObjectRect& before, bool resized) override;
    void Nudge(TUserPage& page, size_t index, const TObjectRect& rect) override;
    void Restack(TUserPage& page, size_t from, size_t to) override;
    void Replace(TUserPage& page, size_t index, std::unique_ptr<TUserObject> changed) override;
    void SetBackground(TUserPage& page, const TUserFace& face) override;

private:
    CLayoutHistory& m_history;
};
