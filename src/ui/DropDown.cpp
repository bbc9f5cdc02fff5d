#include "DropDown.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

CDropDown::CDropDown(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &CDropDown::ShowFromStart);
    // While the person types, the field is theirs.
    const auto unlessTyping = [this]
    {
        if (lineEdit() != nullptr && !lineEdit()->hasFocus())
            ShowFromStart();
    };
    connect(this, &QComboBox::currentIndexChanged, this, unlessTyping);
    connect(this, &QComboBox::editTextChanged, this, unlessTyping);
}

void CDropDown::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Not for the list or a completion opening over the field.
    if (event->reason() != Qt::PopupFocusReason)
        ShowFromStart();
}

void CDropDown::ShowFromStart()
{
    if (lineEdit() != nullptr)
        lineEdit()->setCursorPosition(0);
}

int CDropDown::ListWidth() const
{
    QAbstractItemView* list = view();
    int width = list->sizeHintForColumn(0) + 2 * list->frameWidth();
    if (count() > maxVisibleItems())
        width += list->verticalScrollBar()->sizeHint().width();
    return std::max(width, this->width());
}

void CDropDown::showPopup()
{
    view()->setMinimumWidth(ListWidth());
    QComboBox::showPopup();
}
