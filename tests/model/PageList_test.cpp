#include "PageList.h"
#include "Btn8Ctrl.h"
#include "GlyphCollector.h"
#include "UserPage.h"

#include <gtest/gtest.h>

namespace
{

std::vector<int32_t> Ids(const TPageList& list)
{
    std::vector<int32_t> ids;
    for (const auto& item : list)
    {
        ids.push_back(item->id);
    }
    return ids;
}

TListItem* AddUserPage(TPageList& list, int32_t id, TListItem* anchor = nullptr)
{
    return list.InsertPage(std::make_unique<TUserPage>(u"Page", id), anchor);
}

TEST(PageList, NextPageIdIsTenThousandOrOneAboveTheLargest)
{
    const struct
    {
        std::vector<int32_t> ids;
        int32_t next;
    } cases[] = {
        {{}, 10000}, {{-1}, 10000}, {{5, 9999}, 10000}, {{10000, 10007}, 10008}, {{10007, 10000}, 10008},
    };
    for (const auto& c : cases)
    {
        TPageList list;
        for (int32_t id : c.ids)
        {
            AddUserPage(list, id);
        }
        EXPECT_EQ(list.NextPageId(), c.next);
    }
    TPageList list;
    list.InsertPage(std::make_unique<CBtn8Ctrl>(u"Eight"));
    EXPECT_EQ(list.Head()->id, -1);
    EXPECT_EQ(list.NextPageId(), 10000);
}

TEST(PageList, InsertAfterAnchorOrAppend)
{
    TPageList list;
    TListItem* a = AddUserPage(list, 1);
    EXPECT_EQ(list.Head(), a);
    EXPECT_EQ(list.Prev(a), nullptr);
    EXPECT_EQ(list.Next(a), nullptr);
    TListItem* c = AddUserPage(list, 3, a); // after the tail: new tail
    EXPECT_EQ(list.Tail(), c);
    AddUserPage(list, 2, a);
    AddUserPage(list, 4);
    TUserPage stranger;
    AddUserPage(list, 5, &stranger); // an anchor not in the list appends
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(list.IndexOf(c), 2);
    EXPECT_EQ(list.Find(4), list.At(3));
    EXPECT_EQ(list.Find(6), nullptr);
}

TEST(PageList, ExchangeUnlinkDelete)
{
    TPageList list;
    for (int32_t id : {1, 2, 3})
    {
        AddUserPage(list, id);
    }
    EXPECT_FALSE(list.ExchangeWithPrev(list.Find(1)));
    EXPECT_FALSE(list.ExchangeWithNext(list.Find(3)));
    EXPECT_TRUE(list.ExchangeWithNext(list.Find(1)));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{2, 1, 3}));
    EXPECT_TRUE(list.ExchangeWithPrev(list.Find(3)));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{2, 3, 1}));

    TListItem* middle = list.Find(3);
    std::unique_ptr<TListItem> taken = list.UnlinkPage(middle);
    EXPECT_EQ(taken.get(), middle);
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(list.UnlinkPage(middle), nullptr);
    EXPECT_TRUE(list.DeletePage(list.Find(2)));
    EXPECT_FALSE(list.DeletePage(middle));
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1}));
}

TEST(PageList, CollectsEveryNameInListOrder)
{
    struct CRecorder : CGlyphCollector
    {
        void CollectString(const std::u16string& text) override { seen.push_back(text); }
        std::vector<std::u16string> seen;
    } recorder;
    TPageList list;
    list.InsertPage(std::make_unique<TUserPage>(u"Über", 10000));
    list.InsertPage(std::make_unique<CBtn8Ctrl>(u"Eight"));
    list.CollectGlyphs(recorder);
    EXPECT_EQ(recorder.seen, (std::vector<std::u16string>{u"Über", u"Eight"}));
}

} // namespace
