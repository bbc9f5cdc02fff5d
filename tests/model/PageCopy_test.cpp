#include "PageCopy.h"

#include "Btn8Ctrl.h"
#include "DataStore.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserPage.h"

#include <gtest/gtest.h>

namespace
{

std::vector<uint8_t> Record(const TListItem& page)
{
    CDataStore store;
    const_cast<TListItem&>(page).Serialize(store);
    return store.CopyData();
}

TEST(PageCopy, ACopyHoldsWhatTheOriginalHoldsAndSharesNothing)
{
    TUserPage lobby(u"Lobby", 10000);
    lobby.face.colour1 = 0x123456;
    auto button = std::make_unique<TUserButton>();
    button->SetRect({10, 20, 40, 30});
    button->downText = MakeTextField(u"LIGHTS ON");
    lobby.AppendObject(std::move(button));
    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->targetPage = 10000;
    lobby.AppendObject(std::move(hotspot));

    const std::unique_ptr<TListItem> made = CopyPage(lobby, 10007, CopyName(lobby.name));
    ASSERT_NE(made, nullptr);
    auto& copy = static_cast<TUserPage&>(*made);
    EXPECT_EQ(copy.id, 10007);
    EXPECT_EQ(copy.name, u"Lobby copy");
    copy.id = lobby.id;
    copy.name = lobby.name;
    EXPECT_EQ(Record(copy), Record(lobby)) << "the same record but for id and name";
    ASSERT_EQ(copy.objects.size(), 2u);
    EXPECT_NE(copy.objects[0].get(), lobby.objects[0].get());
    copy.objects[0]->left = 99;
    EXPECT_EQ(lobby.objects[0]->left, 10) << "moving the copy's button leaves the original's";

    CBtn8Ctrl scenes(u"Scenes");
    scenes.texts[3] = MakeTextField(u"SCENE 4");
    const std::unique_ptr<TListItem> eight = CopyPage(scenes, 10008, CopyName(scenes.name));
    ASSERT_NE(eight, nullptr);
    EXPECT_EQ(eight->type, kPageEightButton);
    EXPECT_EQ(static_cast<CBtn8Ctrl&>(*eight).texts[3], scenes.texts[3]);
    EXPECT_EQ(eight->name, u"Scenes copy");

    TListItem unknown(42, u"Odd", 10009);
    EXPECT_EQ(CopyPage(unknown, 10010, u"x"), nullptr);
}

} // namespace
