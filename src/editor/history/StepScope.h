#pragma once

class TListItem;

// What an undo or redo touched, so that the windows showing the document can
// follow it.
struct TStepScope
{
    // For `select`: leave the canvas's selection as it is.
    static constexpr int kKeepSelection = -2;

    // The page whose face, objects, name or place changed; null for steps on
    // the document as a whole.
    const TListItem* page = nullptr;
    // On that page, the object to select by its place in drawing order; -1
    // for none.
    int select = kKeepSelection;
    // The page's name changed (a rename, an import).
    bool renamed = false;
    // The panel's settings changed.
    bool settings = false;
};
