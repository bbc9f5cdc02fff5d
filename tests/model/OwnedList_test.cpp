#include "OwnedList.h"

#include "PageList.h"
#include "UserButton.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using TList = std::vector<std::unique_ptr<int>>;

TList Make(std::initializer_list<int> values)
{
    TList list;
    for (int v : values)
        list.push_back(std::make_unique<int>(v));
    return list;
}

std::string Show(const TList& list)
{
    std::string out;
    for (const auto& v : list)
        out += std::to_string(*v);
    return out;
}

TEST(OwnedList, ChangesByIndexAndPutsThemBack)
{
    struct TMove
    {
        size_t from;
        size_t to;
        const char* after;
    };
    for (const TMove& m : {TMove{0, 3, "1230"}, TMove{3, 0, "3012"}, TMove{1, 2, "0213"}, TMove{2, 2, "0123"},
                           TMove{1, 9, "0231"}})
    {
        TList list = Make({0, 1, 2, 3});
        ASSERT_TRUE(OwnedList::MoveAt(list, m.from, m.to));
        EXPECT_EQ(Show(list), m.after) << m.from << " to " << m.to;
        // The move back uses the place the item came to.
        ASSERT_TRUE(OwnedList::MoveAt(list, std::min(m.to, list.size() - 1), m.from));
        EXPECT_EQ(Show(list), "0123");
    }

    TList list = Make({0, 1, 2});
    EXPECT_FALSE(OwnedList::MoveAt(list, 3, 0));
    EXPECT_EQ(OwnedList::TakeAt(list, 3), nullptr);
    std::unique_ptr<int> taken = OwnedList::TakeAt(list, 1);
    EXPECT_EQ(Show(list), "02");
    OwnedList::InsertAt(list, 1, std::move(taken));
    EXPECT_EQ(Show(list), "012");
    OwnedList::InsertAt(list, 99, std::make_unique<int>(7));
    EXPECT_EQ(Show(list), "0127");
    std::unique_ptr<int> old = OwnedList::ReplaceAt(list, 0, std::make_unique<int>(5));
    EXPECT_EQ(*old, 0);
    EXPECT_EQ(Show(list), "5127");
    EXPECT_EQ(OwnedList::ReplaceAt(list, 4, std::make_unique<int>(5)), nullptr);
    EXPECT_EQ(Show(list), "5127");
}

TEST(OwnedList, AnObjectOrPageIsNeverHeldTwice)
{
    TUserPage page;
    TUserObject* button = page.AppendObject(std::make_unique<TUserButton>());
    std::unique_ptr<TUserObject> again(button);
    EXPECT_EQ(page.InsertObject(0, std::move(again)), nullptr);
    EXPECT_EQ(page.objects.size(), 1u);

    TPageList pages;
    TListItem* lobby = pages.InsertPage(std::make_unique<TUserPage>(u"Lobby", 10000));
    std::unique_ptr<TListItem> twice(lobby);
    EXPECT_EQ(pages.InsertAt(1, std::move(twice)), nullptr);
    EXPECT_EQ(pages.Size(), 1u);
}

} // namespace
