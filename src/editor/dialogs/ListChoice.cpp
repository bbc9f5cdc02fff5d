#include "ListChoice.h"

#include <QComboBox>
#include <QLineEdit>

void TakeTypedEntries(QComboBox* combo)
{
    QLineEdit* edit = combo != nullptr ? combo->lineEdit() : nullptr;
    if (edit == nullptr)
        return;
    QObject::connect(edit, &QLineEdit::editingFinished, combo,
                     [combo, edit]
                     {
                         const int current = combo->currentIndex();
                         const QString shown = current >= 0 ? combo->itemText(current) : QString();
                         const QString typed = edit->text();
                         // Also when Qt has just chosen the entry itself.
                         if (typed == shown)
                             return;
                         // Two entries may differ only in case: the exact one first.
                         int index = combo->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
                         if (index < 0 && !typed.isEmpty())
                             index = combo->findText(typed, Qt::MatchFixedString);
                         if (index >= 0 && index != current)
                         {
                             combo->setCurrentIndex(index);
                             emit combo->activated(index);
                         }
                         combo->setEditText(index >= 0 ? combo->itemText(index) : shown);
                     });
}
