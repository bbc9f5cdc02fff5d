// What changed between two layouts, in words: settings, then page by page
// and object by object, then pictures and events.

#include "LayoutDiff.h"
#include "SampleLayouts.h"

#include "ImageEntry.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

TLayout Base()
{
    TLayout layout;
    layout.controlName = u"Lounge";
    layout.images.AddImage(u"Plate", SamplePicture(20, 10, 10));
    auto page = std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId());
    auto button = std::make_unique<TUserButton>();
    button->SetRect({40, 50, 60, 30});
    button->downText = MakeTextField(u"ON");
    page->AppendObject(std::move(button));
    page->AppendObject(std::make_unique<TUserHotspot>());
    layout.pages.InsertPage(std::move(page));
    return layout;
}

TLayout Loaded(const std::vector<uint8_t>& image)
{
    TLayout layout;
    EXPECT_TRUE(layout.LoadFromBuffer(image.data(), static_cast<int32_t>(image.size())));
    return layout;
}

TUserPage& Lobby(TLayout& layout)
{
    return dynamic_cast<TUserPage&>(*layout.pages.Find(10000));
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}

} // namespace

TEST(LayoutDiff, SaysWhatChangedPageByPageAndObjectByObject)
{
    const struct
    {
        const char* what;
        std::function<void(TLayout&)> edit;
        std::string lines;
    } cases[] = {
        {"nothing", [](TLayout&) {}, ""},
        {"a button moved and resized",
         [](TLayout& l)
         {
             TUserObject& b = *Lobby(l).objects[0];
             b.left = 80;
             b.top = 70;
             b.width = 61;
         },
         "page \"Lobby\": button 1 moved from 40,50 to 80,70\n"
         "page \"Lobby\": button 1 resized from 60x30 to 61x30\n"},
        {"a button's event and a hot spot's target",
         [](TLayout& l)
         {
             dynamic_cast<TUserButton&>(*Lobby(l).objects[0]).downText = MakeTextField(u"OFF");
             dynamic_cast<TUserHotspot&>(*Lobby(l).objects[1]).targetPage = 2;
         },
         "page \"Lobby\": button 1 down event changed from \"ON\" to \"OFF\"\n"
         "page \"Lobby\": hot spot 2 target page changed from -1 to 2\n"},
        {"the picture redrawn, a setting, an event",
         [](TLayout& l)
         {
             l.images.FindImage(10000)->image = SamplePicture(20, 10, 200);
             l.controlName = u"Hall";
             l.eventTexts[2] = MakeTextField(u"SCENE 3");
         },
         "control name changed from \"Lounge\" to \"Hall\"\n"
         "picture 10000 replaced\n"
         "event 3 text changed from \"\" to \"SCENE 3\"\n"},
        {"a page added, an object removed",
         [](TLayout& l)
         {
             Lobby(l).objects.pop_back();
             l.pages.InsertPage(std::make_unique<TUserPage>(u"Bar", l.pages.NextPageId()));
         },
         "page \"Lobby\": hot spot 2 removed\n"
         "page \"Bar\" added at position 2\n"},
        {"a page put in front, an object of another kind in its place",
         [](TLayout& l)
         {
             l.pages.InsertAt(0, std::make_unique<TUserPage>(u"Bar", l.pages.NextPageId()));
             Lobby(l).objects[1] = std::make_unique<TUserImage>();
         },
         "page \"Bar\" added at position 1\n"
         "page \"Lobby\" moved from position 1 to 2\n"
         "page \"Lobby\": image 2 replaces hot spot 2\n"},
        {"a picture renamed, one added",
         [](TLayout& l)
         {
             l.images.FindImage(10000)->name = u"Wall plate";
             l.images.AddImage(u"Logo", SamplePicture(4, 4, 1));
         },
         "picture 10000 renamed from \"Plate\" to \"Wall plate\"\n"
         "picture 10001 added (\"Logo\")\n"},
    };
    // Both sides read from the same bytes, so that the pictures' GUIDs agree.
    const std::vector<uint8_t> image = Base().SaveToBytes();
    for (const auto& c : cases)
    {
        const TLayout before = Loaded(image);
        TLayout after = Loaded(image);
        c.edit(after);
        EXPECT_EQ(Lines(DiffLayouts(before, after)), c.lines) << c.what;
    }
    // The other way round, what was added is removed.
    TLayout more = Loaded(image);
    more.images.AddImage(u"Logo", SamplePicture(4, 4, 1));
    EXPECT_EQ(Lines(DiffLayouts(more, Loaded(image))), "picture 10001 removed (\"Logo\")\n");
}
