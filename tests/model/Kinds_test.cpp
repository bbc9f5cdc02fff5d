#include "Btn8Ctrl.h"
#include "ListItem.h"
#include "ObjectVisitor.h"
#include "PageVisitor.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserObject.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace
{

const auto kObjectNames = Overloaded{
    [](const TUserButton&) { return std::string("button"); },
    [](const TUserLevel&) { return std::string("slider"); },
    [](const TUserImage&) { return std::string("image"); },
    [](const TUserHotspot&) { return std::string("hot spot"); },
    [](const TUserObject&) { return std::string("unknown"); },
};

const auto kPageNames = Overloaded{
    [](const TUserPage&) { return std::string("user page"); },
    [](const CBtn8Ctrl&) { return std::string("eight-button page"); },
    [](const TListItem&) { return std::string("bare entry"); },
};

// Lambdas that leave out a kind, or that take any kind, are refused; so are
// lambdas that would change a const object.
template <typename Object, typename F>
concept Visits = requires(Object& object, const F& f)
{
    VisitObject(object, f);
};
template <typename Page, typename F>
concept VisitsPage = requires(Page& page, const F& f)
{
    VisitPage(page, f);
};

using TNoSlider = decltype(Overloaded{[](const TUserButton&) {}, [](const TUserImage&) {},
                                      [](const TUserHotspot&) {}, [](const TUserObject&) {}});
using TAnyObject = decltype([](const auto&) {});
using TChangesButtons = decltype(Overloaded{[](TUserButton&) {}, [](const TUserLevel&) {},
                                            [](const TUserImage&) {}, [](const TUserHotspot&) {},
                                            [](const TUserObject&) {}});
using TNoEightButtonPage = decltype(Overloaded{[](const TUserPage&) {}, [](const TListItem&) {}});

static_assert(Visits<const TUserObject, decltype(kObjectNames)>);
static_assert(!Visits<const TUserObject, TNoSlider>);
static_assert(!Visits<const TUserObject, TAnyObject>);
static_assert(Visits<TUserObject, TChangesButtons>);
static_assert(!Visits<const TUserObject, TChangesButtons>);
static_assert(VisitsPage<const TListItem, decltype(kPageNames)>);
static_assert(!VisitsPage<const TListItem, TNoEightButtonPage>);

TEST(Kinds, EachObjectKindIsVisitedAsItself)
{
    const struct
    {
        std::function<std::unique_ptr<TUserObject>()> make;
        std::string name;
    } cases[] = {
        {[] { return std::make_unique<TUserButton>(); }, "button"},
        {[] { return std::make_unique<TUserLevel>(); }, "slider"},
        {[] { return std::make_unique<TUserImage>(); }, "image"},
        {[] { return std::make_unique<TUserHotspot>(); }, "hot spot"},
        {[] { return std::make_unique<TUserObject>(7); }, "unknown"},
    };
    for (const auto& c : cases)
    {
        const std::unique_ptr<TUserObject> object = c.make();
        const TUserObject& asConst = *object;
        EXPECT_EQ(VisitObject(asConst, kObjectNames), c.name);
        EXPECT_EQ(VisitObject(*object, kObjectNames), c.name);
        const bool isButton = c.name == "button";
        EXPECT_EQ(ObjectAs<TUserButton>(*object) == object.get(), isButton) << c.name;
        EXPECT_EQ(ObjectAs<TUserButton>(asConst) == &asConst, isButton) << c.name;
        EXPECT_EQ(ObjectAs<TUserButton>(*object) == nullptr, !isButton) << c.name;
    }
}

TEST(Kinds, EachPageKindIsVisitedAsItself)
{
    const struct
    {
        std::function<std::unique_ptr<TListItem>()> make;
        std::string name;
    } cases[] = {
        {[] { return std::make_unique<TUserPage>(); }, "user page"},
        {[] { return std::make_unique<CBtn8Ctrl>(); }, "eight-button page"},
        {[] { return std::make_unique<TListItem>(); }, "bare entry"},
    };
    for (const auto& c : cases)
    {
        const std::unique_ptr<TListItem> page = c.make();
        const TListItem& asConst = *page;
        EXPECT_EQ(VisitPage(asConst, kPageNames), c.name);
        EXPECT_EQ(VisitPage(*page, kPageNames), c.name);
        const bool isUser = c.name == "user page";
        EXPECT_EQ(PageAs<TUserPage>(*page) == page.get(), isUser) << c.name;
        EXPECT_EQ(PageAs<TUserPage>(asConst) == &asConst, isUser) << c.name;
        EXPECT_EQ(PageAs<TUserPage>(*page) == nullptr, !isUser) << c.name;
    }
}

} // namespace
