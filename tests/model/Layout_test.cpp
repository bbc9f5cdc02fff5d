#include "Btn8Ctrl.h"
#include "DataStore.h"
#include "ImageBuffer.h"
#include "Layout.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{

std::vector<uint8_t> Int(int32_t v)
{
    const auto u = static_cast<uint32_t>(v);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<uint8_t> Zeros(size_t n)
{
    return std::vector<uint8_t>(n, 0);
}

std::vector<uint8_t> String(const std::u16string& s)
{
    CDataStore store;
    store.WriteString(s);
    return store.CopyData();
}

TUserPage* AddUserPage(TLayout& layout, const std::u16string& name)
{
    auto page = std::make_unique<TUserPage>(name, layout.pages.NextPageId());
    return static_cast<TUserPage*>(layout.pages.InsertPage(std::move(page)));
}

std::vector<std::u16string> PageNames(const TLayout& layout)
{
    std::vector<std::u16string> names;
    for (const auto& page : layout.pages)
        names.push_back(page->name);
    return names;
}

// A layout that exercises every part of the image: settings, both kinds of
// page, an object and events.
TLayout MakeBusyLayout()
{
    TLayout layout;
    layout.controlName = u"Lounge";
    layout.sleepTimeout = 30;
    layout.pinOnWakeup = 1;
    layout.timeoutPin = u"1234";
    layout.securityPin = u"9876";
    layout.manualBrightness = 55;
    layout.autoBrightness = 1;
    TUserPage* page = AddUserPage(layout, u"Main");
    auto button = std::make_unique<TUserButton>();
    button->left = 10;
    button->top = 20;
    button->width = 60;
    button->height = 30;
    WideToTextField(u"VOL UP", button->downText);
    page->AppendObject(std::move(button));
    layout.defaultPage = page->id;
    auto eight = std::make_unique<CBtn8Ctrl>(u"Eight");
    WideToTextField(u"Mute", eight->names[0]);
    layout.pages.InsertPage(std::move(eight));
    WideToTextField(u"Evening", layout.eventDescriptions[3]);
    WideToTextField(u"SCENE 4", layout.eventTexts[3]);
    return layout;
}

} // namespace

TEST(LayoutDocument, NewDocumentStoresItsFixedImage)
{
    TLayout layout;
    const std::vector<uint8_t> bytes = layout.SaveToBytes();
    const std::vector<uint8_t> expected = Concat({
        Int(7),
        Int(0), Int(0), Int(0), Int(0), Int(0),  // control name, sleep, PIN on wakeup, two PINs
        Int(1),                                  // audible feedback
        {100, 0},                                // manual brightness, auto brightness
        Int(-1),                                 // no default page
        Int(0), Int(0), Int(0),                  // pages, glyphs, added pictures
        Int(1920), Zeros(1920), Int(1920), Zeros(1920),
    });
    ASSERT_EQ(bytes.size(), 3894u);
    EXPECT_EQ(bytes, expected);
}

TEST(LayoutDocument, SaveToBufferRefusesWhatDoesNotFit)
{
    TLayout layout = MakeBusyLayout();
    const std::vector<uint8_t> image = layout.SaveToBytes();
    const auto size = static_cast<int32_t>(image.size());

    std::vector<uint8_t> dest(image.size() + 8, 0xEE);
    EXPECT_EQ(layout.SaveToBuffer(dest.data(), size - 1), -1);
    EXPECT_TRUE(std::all_of(dest.begin(), dest.end(), [](uint8_t b) { return b == 0xEE; }));

    EXPECT_EQ(layout.SaveToBuffer(dest.data(), size), size);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), dest.begin()));
    EXPECT_EQ(dest[image.size()], 0xEE);
}

TEST(LayoutDocument, StoreAndLoadKeepEverythingInOrder)
{
    TLayout layout = MakeBusyLayout();
    AddUserPage(layout, u"B");
    AddUserPage(layout, u"C");
    const std::vector<uint8_t> image = layout.SaveToBytes();

    TLayout loaded;
    ASSERT_TRUE(loaded.LoadFromBuffer(image.data(), static_cast<int32_t>(image.size())));
    EXPECT_EQ(PageNames(loaded), (std::vector<std::u16string>{u"Main", u"Eight", u"B", u"C"}));
    EXPECT_EQ(loaded.controlName, u"Lounge");
    EXPECT_EQ(loaded.securityPin, u"9876");
    EXPECT_EQ(loaded.manualBrightness, 55);
    EXPECT_EQ(loaded.defaultPage, layout.defaultPage);
    EXPECT_EQ(TextFieldToWide(loaded.eventTexts[3]), u"SCENE 4");
    // The eight-button page was stored without an id and gets one on load.
    EXPECT_EQ(loaded.pages.At(1)->id, loaded.pages.NextPageId() - 1);
    EXPECT_GE(loaded.pages.At(1)->id, 10000);
    // A second round gives the same bytes, apart from that new id.
    TLayout again;
    const std::vector<uint8_t> second = loaded.SaveToBytes();
    ASSERT_TRUE(again.LoadFromBuffer(second.data(), static_cast<int32_t>(second.size())));
    EXPECT_EQ(again.SaveToBytes(), second);
}

TEST(LayoutDocument, FullEventFieldsSurvive)
{
    TLayout layout;
    const std::string description(79, 'd');
    const std::string text(79, 't');
    std::memcpy(layout.eventDescriptions[23].data(), description.data(), 79);
    std::memcpy(layout.eventTexts[23].data(), text.data(), 79);
    const std::vector<uint8_t> image = layout.SaveToBytes();
    TLayout loaded;
    ASSERT_TRUE(loaded.LoadFromBuffer(image.data(), static_cast<int32_t>(image.size())));
    EXPECT_EQ(loaded.eventDescriptions[23], layout.eventDescriptions[23]);
    EXPECT_EQ(loaded.eventTexts[23], layout.eventTexts[23]);
}

// Older images, written by hand: what each version carries and what the
// loader fills in for what it lacks.
TEST(LayoutDocument, ReadsEveryOlderVersion)
{
    const std::vector<uint8_t> settings = Concat({Int(45), Int(1)});  // sleep, PIN on wakeup
    const std::vector<uint8_t> tail = Concat({Int(1), {80, 1}});      // feedback, brightness, auto
    const std::vector<uint8_t> events = Concat({Int(5), {'H', 'e', 'l', 'l', 'o'}, Int(2), {'G', 'o'}});
    struct TCase
    {
        int32_t version;
        std::vector<uint8_t> image;
        std::u16string controlName;
        std::u16string securityPin;
        int32_t defaultPage;
        std::u16string firstEvent;
    };
    const TCase cases[] = {
        {1,
         Concat({Int(1), Int(5), {'R', 'o', 'o', 'm', 0}, settings, Int(3), {'1', '2', 0}, tail, Int(0)}),
         u"Room", u"", -1, u""},
        {4, Concat({Int(4), String(u"Hall"), settings, String(u"12"), tail, Int(0), Int(0), Int(0)}), u"Hall", u"",
         -1, u""},
        {6,
         Concat({Int(6), String(u"Bar"), settings, String(u"12"), tail, Int(10005), Int(0), Int(0), Int(0),
                 events}),
         u"Bar", u"", 10005, u"Hello"},
        {7,
         Concat({Int(7), String(u"Deck"), settings, String(u"12"), String(u"77"), tail, Int(10005), Int(0), Int(0),
                 Int(0), events}),
         u"Deck", u"77", 10005, u"Hello"},
        // A later version is read as the current one; what it adds at the end is ignored.
        {8,
         Concat({Int(8), String(u"Next"), settings, String(u"12"), String(u"77"), tail, Int(10005), Int(0), Int(0),
                 Int(0), events, Int(42)}),
         u"Next", u"77", 10005, u"Hello"},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.version);
        TLayout layout;
        WideToTextField(u"old", layout.eventDescriptions[0]);
        ASSERT_TRUE(layout.LoadFromBuffer(c.image.data(), static_cast<int32_t>(c.image.size())));
        EXPECT_EQ(layout.controlName, c.controlName);
        EXPECT_EQ(layout.timeoutPin, u"12");
        EXPECT_EQ(layout.securityPin, c.securityPin);
        EXPECT_EQ(layout.sleepTimeout, 45);
        EXPECT_EQ(layout.manualBrightness, 80);
        EXPECT_EQ(layout.autoBrightness, 1);
        EXPECT_EQ(layout.defaultPage, c.defaultPage);
        EXPECT_EQ(TextFieldToWide(layout.eventDescriptions[0]), c.firstEvent);
        EXPECT_EQ(layout.eventTexts[1], TTextField{});
    }
}

// Damaged images are refused whole: the document keeps what it held.
TEST(LayoutDocument, DamagedImageLeavesTheDocumentAsItWas)
{
    TLayout source = MakeBusyLayout();
    const std::vector<uint8_t> good = source.SaveToBytes();
    const size_t pagesAt = 4 + String(u"Lounge").size() + 8 + String(u"1234").size() + String(u"9876").size() + 4 +
                           2 + 4;  // the first page marker
    const size_t eventsAt = good.size() - 2 * (4 + 1920);

    auto patched = [&good](size_t offset, int32_t value) {
        std::vector<uint8_t> bytes = good;
        const std::vector<uint8_t> v = Int(value);
        std::copy(v.begin(), v.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        return bytes;
    };
    std::vector<std::pair<const char*, std::vector<uint8_t>>> damaged = {
        {"page type 7", patched(pagesAt + 4, 7)},
        {"event block over 1920", patched(eventsAt, 1921)},
        {"negative event block", patched(eventsAt, -1)},
        {"version 0", patched(0, 0)},
        {"version 1 name over 260", Concat({Int(1), Int(261), Zeros(300)})},
    };
    // Every cut short of the last event byte.
    for (size_t length : {size_t{3}, size_t{4}, pagesAt + 6, pagesAt + 100, eventsAt + 2, good.size() - 1})
        damaged.emplace_back("cut short", std::vector<uint8_t>(good.begin(), good.begin() + length));

    TLayout layout = MakeBusyLayout();
    AddUserPage(layout, u"Extra");
    const std::vector<uint8_t> before = layout.SaveToBytes();
    for (const auto& [what, bytes] : damaged)
    {
        SCOPED_TRACE(what);
        EXPECT_FALSE(layout.LoadFromBuffer(bytes.data(), static_cast<int32_t>(bytes.size())));
        EXPECT_EQ(layout.SaveToBytes(), before);
    }
    // Every prefix of the image is refused; the whole image loads.
    for (size_t length = 0; length < good.size(); length += 7)
        ASSERT_FALSE(layout.LoadFromBuffer(good.data(), static_cast<int32_t>(length))) << length;
    EXPECT_EQ(layout.SaveToBytes(), before);
    EXPECT_TRUE(layout.LoadFromBuffer(good.data(), static_cast<int32_t>(good.size())));
}

TEST(LayoutDocument, LoadReplacesPagesAndAddedPicturesButKeepsBuiltins)
{
    TLayout layout = MakeBusyLayout();
    const size_t builtins = layout.images.Size();
    layout.images.AddImage(u"extra", nullptr);
    TLayout empty;
    const std::vector<uint8_t> image = empty.SaveToBytes();
    ASSERT_TRUE(layout.LoadFromBuffer(image.data(), static_cast<int32_t>(image.size())));
    EXPECT_TRUE(layout.pages.Empty());
    EXPECT_EQ(layout.images.Size(), builtins);
    EXPECT_EQ(layout.controlName, u"");

    layout = MakeBusyLayout();
    layout.images.AddImage(u"extra", nullptr);
    layout.ClearAll();
    EXPECT_TRUE(layout.pages.Empty());
    EXPECT_EQ(layout.images.Size(), builtins);
    EXPECT_EQ(layout.controlName, u"Lounge");
}

TEST(LayoutDocument, GlyphTableHoldsEachNonAsciiCharacterOnceAtThreeSizes)
{
    TLayout layout;
    layout.controlName = u"\u00c4\u00c4";
    AddUserPage(layout, u"x\u00c4");
    layout.BuildGlyphTable();
    ASSERT_EQ(layout.glyphs.size(), 3u);
    EXPECT_EQ(layout.glyphs[0]->cell, 35);
    EXPECT_EQ(layout.glyphs[1]->cell, 28);
    EXPECT_EQ(layout.glyphs[2]->cell, 22);
    for (const auto& glyph : layout.glyphs)
        EXPECT_EQ(glyph->character, 0xC4);

    // A later character is linked in front of the earlier ones.
    AddUserPage(layout, u"\u4e2d");
    const std::vector<uint8_t> image = layout.SaveToBytes();
    ASSERT_EQ(layout.glyphs.size(), 6u);
    EXPECT_EQ(layout.glyphs[0]->character, 0x4e2d);
    EXPECT_EQ(layout.glyphs[3]->character, 0xC4);
    std::vector<std::unique_ptr<TGlyph>> stored;
    TLayout loaded;
    ASSERT_TRUE(loaded.LoadFromBuffer(image.data(), static_cast<int32_t>(image.size()), &stored));
    ASSERT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored[0]->cell, 35);
    EXPECT_EQ(stored[5]->character, 0xC4);

    TLayout ascii;
    ascii.controlName = u"Plain~";
    ascii.BuildGlyphTable();
    EXPECT_TRUE(ascii.glyphs.empty());
}

TEST(LayoutDocument, PicturesReadAreStoredFromTheBlocksTheyCameIn)
{
    TLayout layout;
    layout.controlName = u"Lounge";
    for (uint8_t shade : {0, 90})
    {
        auto picture = std::make_unique<CImageBuffer>();
        ASSERT_TRUE(picture->Data().Create(30, 20, 24));
        for (size_t i = 0; i < picture->Data().bits.size(); ++i)
            picture->Data().bits[i] = static_cast<uint8_t>(i * 7 + shade);
        layout.images.AddImage(u"picture", std::move(picture));
    }
    layout.images.AddImage(u"no picture", nullptr);
    const std::vector<uint8_t> stored = layout.SaveToBytes();
    EXPECT_EQ(layout.StoredSize(), static_cast<int64_t>(stored.size()));

    TLayout loaded;
    ASSERT_TRUE(loaded.LoadFromBuffer(stored.data(), static_cast<int32_t>(stored.size())));
    std::vector<CImageBuffer*> pictures;
    for (const auto& entry : loaded.images)
    {
        if (entry->IsAdded() && entry->image != nullptr)
        {
            EXPECT_TRUE(entry->image->HasPngBlock());
            pictures.push_back(entry->image.get());
        }
    }
    ASSERT_EQ(pictures.size(), 2u);
    const std::vector<uint8_t> fromKept = loaded.SaveToBytes();
    EXPECT_EQ(loaded.StoredSize(), static_cast<int64_t>(fromKept.size()));
    EXPECT_EQ(fromKept.size(), stored.size());

    // The same bytes as encoding every picture afresh, before and after a
    // change to one of them.
    for (CImageBuffer* picture : pictures)
        picture->Data();
    EXPECT_EQ(loaded.SaveToBytes(), fromKept);
    pictures[0]->Data().bits[0] ^= 0xFF;
    EXPECT_NE(loaded.SaveToBytes(), fromKept);
    pictures[0]->Data().bits[0] ^= 0xFF;
    EXPECT_EQ(loaded.SaveToBytes(), fromKept);
}
