#pragma once

class QComboBox;

// An editable list (a combo box with an edit field) as the dialogs use it:
// an entry is chosen by picking it from the list or by typing it. When the
// typing ends (Enter, or the focus leaving the list), text that names an
// entry, in any case and as the field completes it, chooses that entry as a
// pick would, with activated(); any other text gives way to the entry chosen
// before (empty without one), so the field never shows what was not taken.
void TakeTypedEntries(QComboBox* combo);
