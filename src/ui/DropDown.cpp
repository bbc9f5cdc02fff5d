#include "DropDown.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

CDropDown::CDropDown(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &CDropDown::ShowFromStart);
    connect(this, &QComboBox::currentIndexChanged, this,
            [this]
            {
                // While the person types, the field is theirs.
                if (lineEdit() != nullptr && !lineEdit()->hasFocus())
                    ShowFromStart();
            });
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
