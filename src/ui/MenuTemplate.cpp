#include "MenuTemplate.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace
{

QString Translated(const QString& caption)
{
    return QCoreApplication::translate("Menu", caption.toUtf8().constData());
}

} // namespace

void BuildMenu(QMenu& menu, const std::vector<TMenuItem>& items)
{
    for (const TMenuItem& item : items)
    {
        if (item.command == 0 && item.caption.isEmpty() && item.items.empty())
        {
            menu.addSeparator();
            continue;
        }
        if (!item.items.empty())
        {
            QMenu* sub = menu.addMenu(Translated(item.caption));
            BuildMenu(*sub, item.items);
            continue;
        }
        QAction* action = menu.addAction(Translated(item.caption));
        action->setData(item.command);
    }
}

QAction* FindCommand(const QMenu& menu, int command)
{
    for (QAction* action : menu.actions())
    {
        if (action->menu() != nullptr)
        {
            if (QAction* found = FindCommand(*action->menu(), command))
                return found;
            continue;
        }
        if (!action->isSeparator() && action->data().toInt() == command)
            return action;
    }
    return nullptr;
}

void RemoveCommand(QMenu& menu, int command)
{
    // A deleted action leaves every menu that shows it.
    delete FindCommand(menu, command);
}

int CommandOf(const QAction* action)
{
    return action != nullptr ? action->data().toInt() : 0;
}
