#include "MenuTemplate.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

namespace
{

// Items, separators and submenus as the template lists them; commands are
// found in submenus too.
TEST(MenuTemplate, BuildsItemsSeparatorsAndSubmenus)
{
    const std::vector<TMenuItem> items{
        {1, QStringLiteral("One"), {}},
        TMenuItem::Separator(),
        {0,
         QStringLiteral("More"),
         {{2, QStringLiteral("Two"), {}}, TMenuItem::Separator(), {3, QStringLiteral("Three"), {}}}},
    };
    QMenu menu;
    BuildMenu(menu, items);
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("One"));
    EXPECT_TRUE(actions[1]->isSeparator());
    ASSERT_NE(actions[2]->menu(), nullptr);
    EXPECT_EQ(actions[2]->menu()->actions().size(), 3);
    EXPECT_TRUE(actions[2]->menu()->actions()[1]->isSeparator());
    EXPECT_EQ(CommandOf(FindCommand(menu, 3)), 3);
    EXPECT_EQ(FindCommand(menu, 0), nullptr) << "a separator is no command";
    RemoveCommand(menu, 2);
    EXPECT_EQ(FindCommand(menu, 2), nullptr);
}

} // namespace
