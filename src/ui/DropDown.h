#pragma once

#include <QComboBox>

// The combo box of dialog templates. Its list opens at least as wide as its
// widest entry, however narrow the closed box was laid out; and with an edit
// field, an entry chosen from the list or set while the field is not being
// typed in shows from its start rather than its end.
class CDropDown : public QComboBox
{
public:
    explicit CDropDown(QWidget* parent = nullptr);

    void showPopup() override;
    // How wide the open list must be to show every entry whole.
    int ListWidth() const;

private:
    void ShowFromStart();
};
