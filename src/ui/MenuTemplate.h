#pragma once

#include <QString>

#include <vector>

class QAction;
class QMenu;

// A popup menu as data: each item has a command id and a caption, or a
// caption and the items of a submenu. An item with neither is a separator.
// Captions are the English texts, marked QT_TRANSLATE_NOOP("Menu", "...");
// BuildMenu shows their translations.
struct TMenuItem
{
    int command = 0;
    QString caption;
    std::vector<TMenuItem> items;

    static TMenuItem Separator() { return {}; }
};

// Fills a menu; each command's action carries its id as data.
void BuildMenu(QMenu& menu, const std::vector<TMenuItem>& items);
// The action of a command anywhere in the menu or its submenus, or null.
QAction* FindCommand(const QMenu& menu, int command);
// Removes a command's action from the menu (or its submenu).
void RemoveCommand(QMenu& menu, int command);
// The command id of a chosen action, 0 when nothing was chosen.
int CommandOf(const QAction* action);
