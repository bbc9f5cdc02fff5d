#include "PanelSession.h"

#include "Btn8Ctrl.h"
#include "Layout.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

using EKind = TPanelEvent::EKind;

// A Lobby with a momentary button, a toggle, two selection buttons of group
// 1, a slider for control 6 and a hot spot to the Bar; the Bar leads back.
class PanelSessionTest : public ::testing::Test
{
protected:
    PanelSessionTest()
    {
        TUserPage& lobby = AddPage(u"Lobby");
        TUserPage& bar = AddPage(u"Bar");
        m_layout.defaultPage = lobby.id;
        PutButton(lobby, {10, 10, 40, 30}, u"VOL UP", u"VOL STOP");
        PutButton(lobby, {60, 10, 40, 30}, u"ON", u"OFF").toggle = true;
        for (int i = 0; i < 2; ++i)
        {
            TUserButton& b = PutButton(lobby, {110 + 50 * i, 10, 40, 30}, i == 0 ? u"SRC 1" : u"SRC 2",
                                       i == 0 ? u"SRC 1 OFF" : u"");
            b.selectorId = 1;
            b.toggle = true;
        }
        Put<TUserLevel>(lobby, {270, 60, 45, 130}).controlId = 6;
        Put<TUserHotspot>(lobby, {10, 150, 60, 60}).targetPage = bar.id;
        Put<TUserHotspot>(bar, {0, 0, 100, 100}).targetPage = TUserHotspot::kReturnToPrevious;
    }

    TUserPage& AddPage(const char16_t* name)
    {
        return static_cast<TUserPage&>(
            *m_layout.pages.InsertPage(std::make_unique<TUserPage>(name, m_layout.pages.NextPageId())));
    }
    template <typename T> T& Put(TUserPage& page, TObjectRect rect)
    {
        auto object = std::make_unique<T>();
        object->SetRect(rect);
        return static_cast<T&>(*page.AppendObject(std::move(object)));
    }
    TUserButton& PutButton(TUserPage& page, TObjectRect rect, const std::u16string& down,
                           const std::u16string& up)
    {
        auto& b = Put<TUserButton>(page, rect);
        b.downText = MakeTextField(down);
        b.upText = MakeTextField(up);
        return b;
    }
    static void Tap(CPanelSession& session, int32_t x, int32_t y)
    {
        session.Press(x, y);
        session.Release();
    }
    static std::vector<bool> Down(const CPanelSession& session)
    {
        std::vector<bool> down;
        for (const TObjectLook& look : session.Look())
            down.push_back(look.down);
        return down;
    }

    TLayout m_layout;
};

TEST_F(PanelSessionTest, ButtonsRaiseTheirTextsAndSelectionGroupsReleaseEachOther)
{
    CPanelSession session(m_layout);
    ASSERT_EQ(session.UserPage()->name, u"Lobby") << "the default page";

    session.Press(12, 12);
    EXPECT_TRUE(Down(session)[0]);
    session.Move(200, 200); // still held, wherever the finger goes
    EXPECT_TRUE(Down(session)[0]);
    session.Release();
    EXPECT_FALSE(Down(session)[0]);
    Tap(session, 70, 20); // the toggle stays down
    Tap(session, 120, 20);
    Tap(session, 170, 20); // releases the first of its group
    Tap(session, 170, 20); // already down: nothing
    EXPECT_EQ(Down(session), (std::vector<bool>{false, true, false, true, false, false}));
    const std::vector<TPanelEvent> expected = {
        {EKind::Down, u"VOL UP"}, {EKind::Up, u"VOL STOP"},   {EKind::Down, u"ON"},
        {EKind::Down, u"SRC 1"},  {EKind::Down, u"SRC 2"},    {EKind::Up, u"SRC 1 OFF"},
    };
    EXPECT_EQ(session.TakeEvents(), expected);
    EXPECT_TRUE(session.TakeEvents().empty());
}

TEST_F(PanelSessionTest, HotSpotsGoAndComeBackToThePageAsItWasLeft)
{
    CPanelSession session(m_layout);
    Tap(session, 70, 20);
    Tap(session, 20, 160);
    EXPECT_EQ(session.UserPage()->name, u"Bar");
    Tap(session, 50, 50);
    EXPECT_EQ(session.UserPage()->name, u"Lobby");
    EXPECT_TRUE(Down(session)[1]) << "the toggle as it was left";
    const std::vector<TPanelEvent> expected = {
        {EKind::Down, u"ON"}, {EKind::Page, u"Bar"}, {EKind::Page, u"Lobby"}};
    EXPECT_EQ(session.TakeEvents(), expected);

    // Shown directly, the Bar has nothing to go back to.
    session.ShowPage(m_layout.pages.At(1));
    Tap(session, 50, 50);
    EXPECT_EQ(session.UserPage()->name, u"Bar");
    EXPECT_TRUE(session.TakeEvents().empty());
}

TEST_F(PanelSessionTest, ASliderFollowsTheFingerWithinItsTrack)
{
    CPanelSession session(m_layout);
    const TUserObject& slider = *session.UserPage()->objects[4];
    session.Press(292, 100);
    EXPECT_EQ(session.LevelOf(slider), 96);
    session.Move(292, -300);
    EXPECT_EQ(session.LevelOf(slider), 100);
    session.Move(292, 400);
    EXPECT_EQ(session.LevelOf(slider), 0);
    session.Release();
    session.Move(292, 100);
    EXPECT_EQ(session.LevelOf(slider), 0) << "a move without the finger down";
    const std::vector<TPanelEvent> events = session.TakeEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EKind::Level);
    EXPECT_EQ(events[2].level, 0);
}

TEST_F(PanelSessionTest, AnEightButtonPageRaisesItsEventTexts)
{
    auto page = std::make_unique<CBtn8Ctrl>(u"Scenes");
    page->texts[0] = MakeTextField(u"SCENE 1");
    page->names[5] = MakeTextField(u"Silent");
    const TListItem* scenes = m_layout.pages.InsertPage(std::move(page));

    CPanelSession session(m_layout, scenes);
    ASSERT_NE(session.EightButtonPage(), nullptr);
    session.Press(20, 20);
    EXPECT_EQ(session.PressedEightButton(), 0);
    session.Release();
    EXPECT_EQ(session.PressedEightButton(), -1);
    Tap(session, 250, 100); // a name, no event text
    const std::vector<TPanelEvent> expected = {{EKind::Press, u"SCENE 1"}};
    EXPECT_EQ(session.TakeEvents(), expected);
}

TEST(PanelSession, ALayoutWithoutPagesShowsNothing)
{
    TLayout empty;
    CPanelSession session(empty);
    EXPECT_EQ(session.Page(), nullptr);
    session.Press(10, 10);
    session.Release();
    EXPECT_TRUE(session.TakeEvents().empty());
}

} // namespace
