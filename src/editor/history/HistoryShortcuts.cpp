#include "HistoryShortcuts.h"

#include "LayoutHistory.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

void AddHistoryShortcuts(QWidget& window, CLayoutHistory& history, const std::function<bool()>& busy)
{
    auto* undo = new QAction(QCoreApplication::translate("HistoryShortcuts", "Undo"), &window);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    auto* redo = new QAction(QCoreApplication::translate("HistoryShortcuts", "Redo"), &window);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    window.addAction(undo);
    window.addAction(redo);

    const auto idle = [busy] { return !busy || !busy(); };
    QObject::connect(undo, &QAction::triggered, &history,
                     [&history, idle]
                     {
                         if (idle())
                             history.Undo();
                     });
    QObject::connect(redo, &QAction::triggered, &history,
                     [&history, idle]
                     {
                         if (idle())
                             history.Redo();
                     });
    // A disabled shortcut lets the key go to the focused control.
    const auto follow = [&history, undo, redo]
    {
        undo->setEnabled(history.CanUndo());
        redo->setEnabled(history.CanRedo());
    };
    QObject::connect(&history, &CLayoutHistory::Changed, undo, follow);
    follow();
}
