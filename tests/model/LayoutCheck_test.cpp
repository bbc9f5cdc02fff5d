#include "LayoutCheck.h"

#include "Btn8Ctrl.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

template <typename T>
T& Put(TUserPage& page, int32_t left, int32_t top, int32_t width = 45, int32_t height = 30)
{
    auto object = std::make_unique<T>();
    object->left = left;
    object->top = top;
    object->width = width;
    object->height = height;
    return static_cast<T&>(*page.AppendObject(std::move(object)));
}

TUserPage& Page(TLayout& layout, int32_t id)
{
    return static_cast<TUserPage&>(
        *layout.pages.InsertPage(std::make_unique<TUserPage>(id == 10000   ? u"Lobby"
                                                             : id == 10001 ? u"Bar"
                                                                           : u"Kitchen",
                                                             id)));
}

// Lobby and Bar lead to each other; Lobby has a pressable button and a
// slider. Nothing to find.
void Clean(TLayout& layout)
{
    TUserPage& lobby = Page(layout, 10000);
    TUserPage& bar = Page(layout, 10001);
    layout.defaultPage = 10000;
    Put<TUserHotspot>(lobby, 0, 0).targetPage = 10001;
    Put<TUserHotspot>(bar, 0, 0).targetPage = TUserHotspot::kReturnToPrevious;
    auto& button = Put<TUserButton>(lobby, 100, 100);
    button.downFace.type = kFaceColour;
    button.downFace.param = kColourSingle;
    auto& level = Put<TUserLevel>(lobby, 200, 100, 45, 130);
    level.controlId = 6;
    // A source selector: one group, a different event each.
    for (int i = 0; i < 2; ++i)
    {
        auto& source = Put<TUserButton>(lobby, 10 + 50 * i, 50);
        source.downFace = button.downFace;
        source.selectorId = 3;
        source.downText = MakeTextField(i == 0 ? u"SRC 1" : u"SRC 2");
    }
}

struct TCase
{
    const char* name;
    std::function<void(TLayout&)> damage;
    ECheckSeverity severity;
    std::string line;
};

TEST(LayoutCheck, FindsEachProblemOnce)
{
    const auto lobby = [](TLayout& l) -> TUserPage& { return static_cast<TUserPage&>(*l.pages.At(0)); };
    const std::vector<TCase> cases{
        {"missing target", [&](TLayout& l) { Put<TUserHotspot>(lobby(l), 150, 100).targetPage = 10007; },
         ECheckSeverity::Error,
         "page \"Lobby\": hot spot at 150,100 leads to page 10007, which does not exist"},
        {"missing default", [](TLayout& l) { l.defaultPage = 10009; }, ECheckSeverity::Error,
         "default page 10009 does not exist"},
        {"missing picture",
         [&](TLayout& l)
         {
             auto& image = Put<TUserImage>(lobby(l), 5, 5);
             image.face.type = kFaceImage;
             image.face.param = 10004;
         },
         ECheckSeverity::Error,
         "page \"Lobby\": image at 5,5 shows picture 10004, which is not in the library"},
        {"missing slider picture",
         [&](TLayout& l) { static_cast<TUserLevel&>(*lobby(l).objects[2]).sliderImageId = 77; },
         ECheckSeverity::Error,
         "page \"Lobby\": slider at 200,100 uses picture 77, which is not in the library"},
        {"undrawable control name", [](TLayout& l) { l.controlName = u"Hall \U0001F600"; },
         ECheckSeverity::Error,
         "control name \"Hall \xF0\x9F\x98\x80\" has a character the panel cannot show: U+1F600"},
        {"control character in a page name", [](TLayout& l) { l.pages.At(1)->name = u"Bar\n2"; },
         ECheckSeverity::Error,
         "page \"Bar\\x0A2\": page name has a character the panel cannot show: U+000A"},
        {"image face without a picture",
         [&](TLayout& l)
         {
             auto& image = Put<TUserImage>(lobby(l), 5, 5);
             image.face.type = kFaceImage;
             image.face.param = -1;
         },
         ECheckSeverity::Error, "page \"Lobby\": image at 5,5 shows no picture (none is chosen)"},
        {"no target", [&](TLayout& l) { Put<TUserHotspot>(lobby(l), 60, 0); }, ECheckSeverity::Warning,
         "page \"Lobby\": hot spot at 60,0 leads nowhere"},
        {"unreachable", [](TLayout& l) { Put<TUserHotspot>(Page(l, 10002), 0, 0).targetPage = 10000; },
         ECheckSeverity::Warning, "page \"Kitchen\": no hot spot leads here from the default page"},
        {"no way out",
         [](TLayout& l) {
             static_cast<TUserHotspot&>(*static_cast<TUserPage&>(*l.pages.At(1)).objects[0]).targetPage =
                 10001;
         },
         ECheckSeverity::Warning,
         "page \"Bar\": no hot spot leads to another page or back (\"Return to Previous\")"},
        {"blank down face", [&](TLayout& l) { Put<TUserButton>(lobby(l), 10, 200); }, ECheckSeverity::Warning,
         "page \"Lobby\": button at 10,200 has a blank down face and never looks pressed"},
        {"partly off screen", [&](TLayout& l) { static_cast<TUserLevel&>(*lobby(l).objects[2]).top = 150; },
         ECheckSeverity::Warning,
         "page \"Lobby\": slider at 200,150 (45 x 130) lies partly off the 320 x 240 screen"},
        {"wholly off screen", [&](TLayout& l) { lobby(l).objects[1]->left = 2147483647; },
         ECheckSeverity::Warning,
         "page \"Lobby\": button at 2147483647,100 lies wholly off the 320 x 240 screen"},
        {"selector buttons sending one event",
         [&](TLayout& l)
         {
             auto& b = Put<TUserButton>(lobby(l), 110, 50);
             b.downFace = static_cast<TUserButton&>(*lobby(l).objects[1]).downFace;
             b.selectorId = 3;
             b.downText = MakeTextField(u"SRC 1");
             // Another group may send it.
             auto& c = Put<TUserButton>(lobby(l), 160, 50);
             c.downFace = b.downFace;
             c.selectorId = 4;
             c.downText = b.downText;
         },
         ECheckSeverity::Warning,
         "page \"Lobby\": selection buttons at 10,50 and 110,50 of selector id 3 both send \"SRC 1\"; the "
         "panel cannot tell them apart"},
        {"a picture nothing uses",
         [&](TLayout& l)
         {
             // The first is the slider's; the second, without pixels, is a
             // 44-byte record behind its marker.
             static_cast<TUserLevel&>(*lobby(l).objects[2]).sliderImageId =
                 l.images.AddImage(u"Knob", std::make_unique<CImageBuffer>())->id;
             l.images.AddImage(u"Logo", nullptr);
         },
         ECheckSeverity::Warning,
         "picture 10001 \"Logo\" is used by nothing and adds 48 bytes to the layout"},
        {"no control", [&](TLayout& l) { static_cast<TUserLevel&>(*lobby(l).objects[2]).controlId = -1; },
         ECheckSeverity::Warning, "page \"Lobby\": slider at 200,100 controls nothing (no control id)"},
        {"control id beyond the list",
         [&](TLayout& l) { static_cast<TUserLevel&>(*lobby(l).objects[2]).controlId = 12; },
         ECheckSeverity::Warning,
         "page \"Lobby\": slider at 200,100 has control id 12, which names no control"},
    };

    {
        TLayout layout;
        Clean(layout);
        EXPECT_TRUE(CheckLayout(layout).empty());
    }
    for (const TCase& c : cases)
    {
        TLayout layout;
        Clean(layout);
        c.damage(layout);
        const std::vector<TCheckFinding> findings = CheckLayout(layout);
        ASSERT_EQ(findings.size(), 1u)
            << c.name << ": " << (findings.empty() ? "" : DescribeFinding(findings[0]));
        EXPECT_EQ(findings[0].severity, c.severity) << c.name;
        EXPECT_EQ(DescribeFinding(findings[0]), c.line) << c.name;
        EXPECT_EQ(HasErrors(findings), c.severity == ECheckSeverity::Error) << c.name;
    }
}

// The page a user page dialog is designing before Save puts it in the list.
TEST(LayoutCheck, AnUnsavedPageIsCheckedAsTheLastPage)
{
    TLayout layout;
    Clean(layout);
    TUserPage unsaved(u"New", layout.pages.NextPageId());
    Put<TUserHotspot>(unsaved, 0, 0).targetPage = 10000;
    Put<TUserHotspot>(unsaved, 50, 0).targetPage = 10044;
    // A hot spot of the list may lead to it.
    Put<TUserHotspot>(static_cast<TUserPage&>(*layout.pages.At(1)), 50, 0).targetPage = unsaved.id;

    const std::vector<TCheckFinding> findings = CheckLayout(layout, &unsaved);
    ASSERT_EQ(findings.size(), 1u) << DescribeFinding(findings.back());
    EXPECT_EQ(DescribeFinding(findings[0]),
              "page \"New\": hot spot at 50,0 leads to page 10044, which does not exist");
    EXPECT_EQ(findings[0].pageIndex, 2);
    EXPECT_EQ(layout.pages.Size(), 2u);

    // A page of the list given again is checked once.
    EXPECT_EQ(CheckLayout(layout, layout.pages.At(0)).size(), 1u) << "only the hot spot to the new page";
}

// Copies of one page made by an import used to share its id; hot spots then
// all lead to the first.
TEST(LayoutCheck, PagesSharingAnIdAreAnError)
{
    TLayout layout;
    Clean(layout);
    Put<TUserHotspot>(Page(layout, 10000), 0, 0).targetPage = TUserHotspot::kReturnToPrevious;
    const std::vector<TCheckFinding> findings = CheckLayout(layout);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(DescribeFinding(findings[0]), "page \"Lobby\": has id 10000, as page \"Lobby\" (1) has; hot "
                                            "spots and the default page lead only to that one");
    EXPECT_EQ(findings[0].severity, ECheckSeverity::Error);
    EXPECT_EQ(findings[0].pageIndex, 2);
    EXPECT_EQ(findings[1].code, "unreachable");
}

TEST(LayoutCheck, ALayoutTooLargeForTheTemplateOrThePanel)
{
    TLayout layout;
    Clean(layout);
    TUserPage& lobby = static_cast<TUserPage&>(*layout.pages.At(0));
    // Each button carries 160 bytes of text fields; enough of them pass both limits.
    for (int i = 0; i < 3600; ++i)
    {
        auto& b = Put<TUserButton>(lobby, i % 270, 10);
        b.downFace.type = kFaceColour;
        b.downFace.param = kColourSingle;
    }
    std::vector<TCheckFinding> findings = CheckLayout(layout);
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings[0].code, "too-large");
    EXPECT_NE(findings[0].message.find("more than the panel's 512,000"), std::string::npos)
        << findings[0].message;
}

} // namespace
