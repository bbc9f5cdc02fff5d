#pragma once

#include <QComboBox>

// The combo box of dialog templates. Its list opens at least as wide as its
// widest entry, however narrow the closed box was laid out; and with an edit
// field, a text chosen from the list, set while the field is not being typed
// in, or left behind when the focus goes shows from its start rather than its
// end.
class CDropDown : public QComboBox
{
public:
    explicit CDropDown(QWidget* parent = nullptr);

    void showPopup() override;
    // How wide the open list must be to show every entry whole.
    int ListWidth() const;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowFromStart();
};
