#include "Btn8Ctrl.h"
#include "DataStore.h"
#include "RecordBytes.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

const std::vector<uint8_t> kBlankFace = CRecordBytes().Ints({1, 0, 0, 0, 0}).bytes;

TEST(ListItemRecord, ReadsEveryVersion)
{
    const struct
    {
        const char* name;
        std::vector<uint8_t> bytes;
        std::u16string expectedName;
        int32_t expectedId;
    } cases[] = {
        {"version 1", CRecordBytes().Int(1).Int(6).Raw({'H', 'e', 'l', 'l', 'o', 0}).bytes, u"Hello", -1},
        {"version 2", CRecordBytes().Int(2).Text(u"Main").bytes, u"Main", -1},
        {"version 3", CRecordBytes().Int(3).Text(u"Main").Int(10004).bytes, u"Main", 10004},
    };
    for (const auto& c : cases)
    {
        CDataStore in(c.bytes.data(), c.bytes.size());
        TListItem item;
        item.Serialize(in);
        EXPECT_FALSE(in.Failed()) << c.name;
        EXPECT_EQ(item.name, c.expectedName) << c.name;
        EXPECT_EQ(item.id, c.expectedId) << c.name;
        EXPECT_EQ(in.GetLength(), static_cast<int32_t>(c.bytes.size())) << c.name;
    }
}

TEST(ListItemRecord, RefusesVersionOneNamesOutOfRange)
{
    const struct
    {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"count above 252", CRecordBytes().Ints({1, 253}).Zeros(253).bytes},
        {"count beyond the data", CRecordBytes().Ints({1, 10}).Raw({'A', 0}).bytes},
        {"negative count", CRecordBytes().Ints({1, -5}).Zeros(8).bytes},
    };
    for (const auto& c : cases)
    {
        CDataStore in(c.bytes.data(), c.bytes.size());
        TListItem item(kPageUser, u"before", 10000);
        item.Serialize(in);
        EXPECT_TRUE(in.Failed()) << c.name;
        EXPECT_EQ(item.name, u"before") << c.name;
    }
}

TEST(EightButtonRecord, StoresTextAndNamePairsAfterTheEntry)
{
    CBtn8Ctrl page;
    page.texts[0] = MakeTextField(u"T1");
    page.names[7] = MakeTextField(u"N8");
    const auto bytes = Stored(page);

    CRecordBytes expected;
    expected.Int(3).Int(0).Int(-1).Int(1);
    ASSERT_EQ(bytes.size(), expected.bytes.size() + 16 * 80);
    EXPECT_TRUE(std::equal(expected.bytes.begin(), expected.bytes.end(), bytes.begin()));
    const size_t fields = expected.bytes.size();
    EXPECT_EQ(bytes[fields], 'T');           // text 1
    EXPECT_EQ(bytes[fields + 15 * 80], 'N'); // name 8, the last field

    CDataStore in(bytes.data(), bytes.size());
    CBtn8Ctrl read;
    read.Serialize(in);
    EXPECT_EQ(read.texts, page.texts);
    EXPECT_EQ(read.names, page.names);
    EXPECT_EQ(read.type, kPageEightButton);
}

TEST(ButtonRecord, NewButtonIs244BytesWithLeftBeforeTop)
{
    TUserButton button;
    button.left = 10;
    button.top = 20;
    CRecordBytes expected;
    expected.Ints({1, kObjectButton, 0, 10, 20, 0, 0, 2});
    expected.bytes.insert(expected.bytes.end(), kBlankFace.begin(), kBlankFace.end());
    expected.bytes.insert(expected.bytes.end(), kBlankFace.begin(), kBlankFace.end());
    expected.Ints({-1, -1, 0}).Zeros(160);
    EXPECT_EQ(Stored(button), expected.bytes);
}

TEST(ButtonRecord, ReadsVersionsOneAndTwoAndTheToggleBit)
{
    auto record = [](int32_t version, int32_t toggle)
    {
        CRecordBytes r;
        r.Ints({1, kObjectButton, 0, 1, 2, 3, 4, version});
        r.Ints({1, kFaceColour, kColourSingle, 0xFF, 0}).Ints({1, 0, 0, 0, 0});
        r.Ints({5, -1, toggle});
        r.Raw({'D'}).Zeros(79);
        if (version >= 2)
        {
            r.Raw({'U'}).Zeros(79);
        }
        return r.Int(0x7777).bytes; // whatever follows the record
    };
    const struct
    {
        int32_t version;
        int32_t toggle;
        bool expectedToggle;
        char16_t expectedUp;
    } cases[] = {{1, 3, true, 0}, {1, 2, false, 0}, {2, 1, true, 'U'}, {2, 0, false, 'U'}};
    for (const auto& c : cases)
    {
        const auto bytes = record(c.version, c.toggle);
        CDataStore in(bytes.data(), bytes.size());
        TUserButton button;
        button.upText.fill('x');
        button.Serialize(in);
        EXPECT_EQ(button.toggle, c.expectedToggle) << c.version << "/" << c.toggle;
        EXPECT_EQ(button.upText[0], c.expectedUp) << c.version;
        EXPECT_EQ(button.upText[1], 0) << c.version;
        EXPECT_EQ(button.downText[0], 'D');
        EXPECT_EQ(button.selectorId, 5);
        EXPECT_EQ(button.upFace.colour1, 0xFFu);
        EXPECT_EQ(button.left, 1);
        EXPECT_EQ(button.top, 2);
        EXPECT_EQ(in.ReadInt(), 0x7777) << "reader left inside the record";
    }
}

TEST(ObjectRecords, EveryClassRoundTripsWithItsSize)
{
    auto button = std::make_unique<TUserButton>();
    button->selectorId = 3;
    button->toggle = true;
    button->downText = MakeTextField(u"down");
    auto image = std::make_unique<TUserImage>();
    image->face = {kFaceImage, 10001, 0, 0, 0};
    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->targetPage = TUserHotspot::kReturnToPrevious;
    auto level = std::make_unique<TUserLevel>();
    level->controlId = 11;

    const std::pair<TUserObject*, size_t> cases[] = {
        {button.get(), 244}, {image.get(), 52}, {hotspot.get(), 36}, {level.get(), 40}};
    for (const auto& [object, size] : cases)
    {
        object->left = -3;
        object->height = 17;
        const auto bytes = Stored(*object);
        EXPECT_EQ(bytes.size(), size) << object->type;
        CDataStore in(bytes.data(), bytes.size());
        auto read = MakeUserObject(object->type);
        read->Serialize(in);
        EXPECT_EQ(Stored(*read), bytes) << object->type;
    }
    EXPECT_EQ(TUserLevel().sliderImageId, 2);
}

TEST(UserPageRecord, EmptyPageBytes)
{
    TUserPage page(u"P", 10000);
    const auto expected =
        CRecordBytes().Int(3).Text(u"P").Int(10000).Int(1).Ints({1, 0, 0, 0, 0}).Int(0).bytes;
    EXPECT_EQ(Stored(page), expected);
}

TEST(UserPageRecord, UnknownObjectTypeKeepsOnlyItsObjectRecord)
{
    TUserPage stored(u"P", 10000);
    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->targetPage = 10001;
    stored.AppendObject(std::move(hotspot));
    auto bytes = Stored(stored);
    // Insert, ahead of the hot spot, an object of type 9 whose 28 bytes are all there is of it.
    const auto unknown = CRecordBytes().Ints({1, 9}).Ints({1, 9, 7, 5, 6, 8, 9}).bytes;
    const size_t firstObject = bytes.size() - 4 - (8 + 36);
    bytes.insert(bytes.begin() + firstObject, unknown.begin(), unknown.end());

    CDataStore in(bytes.data(), bytes.size());
    TUserPage page;
    page.AppendObject(std::make_unique<TUserLevel>()); // replaced by the read
    page.Serialize(in);
    EXPECT_FALSE(in.Failed());
    ASSERT_EQ(page.objects.size(), 2u);
    const TUserObject& bare = *page.objects[0];
    EXPECT_EQ(typeid(bare), typeid(TUserObject));
    EXPECT_EQ(bare.type, 9);
    EXPECT_EQ(bare.reserved, 7);
    EXPECT_EQ(bare.left, 5);
    EXPECT_EQ(bare.top, 6);
    ASSERT_EQ(page.objects[1]->type, kObjectHotspot);
    EXPECT_EQ(static_cast<TUserHotspot&>(*page.objects[1]).targetPage, 10001);
    EXPECT_EQ(in.Remaining(), 0);
    // Stored again, the unknown object keeps its place and its record.
    EXPECT_EQ(Stored(page), bytes);
}

TEST(UserPageRecord, UnknownObjectKeepsTheTypeItsRecordStores)
{
    struct
    {
        int32_t listType;
        int32_t recordType;
        int32_t read; // the object's type once read, and the code both places carry when stored again
    } const cases[] = {
        {9, 12, 12},
        {0, -5, -5},
        // A record that names a known kind cannot make a bare object pass for one.
        {9, kObjectButton, 9},
        {-1, kObjectHotspot, -1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.recordType);
        TUserPage stored(u"P", 10000);
        auto bytes = Stored(stored);
        const auto object = CRecordBytes().Ints({1, c.listType}).Ints({1, c.recordType, 7, 5, 6, 8, 9}).bytes;
        bytes.insert(bytes.end() - 4, object.begin(), object.end());

        CDataStore in(bytes.data(), bytes.size());
        TUserPage page;
        page.Serialize(in);
        ASSERT_EQ(page.objects.size(), 1u);
        const TUserObject& bare = *page.objects[0];
        EXPECT_EQ(typeid(bare), typeid(TUserObject));
        EXPECT_EQ(bare.type, c.read);

        auto expected = Stored(stored);
        const auto storedObject = CRecordBytes().Ints({1, c.read}).Ints({1, c.read, 7, 5, 6, 8, 9}).bytes;
        expected.insert(expected.end() - 4, storedObject.begin(), storedObject.end());
        EXPECT_EQ(Stored(page), expected);
    }
}

TEST(UserPageRecord, ListTypeDecidesTheObjectTypeOverTheRecordsOwn)
{
    TUserPage stored(u"P", 10000);
    stored.AppendObject(std::make_unique<TUserHotspot>());
    auto bytes = Stored(stored);
    // The hot spot's own record claims to be a button.
    const size_t recordType = bytes.size() - 4 - 36 + 4;
    bytes[recordType] = kObjectButton;

    CDataStore in(bytes.data(), bytes.size());
    TUserPage page;
    page.Serialize(in);
    ASSERT_EQ(page.objects.size(), 1u);
    EXPECT_NE(dynamic_cast<TUserHotspot*>(page.objects[0].get()), nullptr);
    EXPECT_EQ(page.objects[0]->type, kObjectHotspot);
}

TEST(UserPageRecord, TruncatedPageFailsWithoutHalfReadObjects)
{
    TUserPage stored(u"P", 10000);
    stored.AppendObject(std::make_unique<TUserButton>());
    stored.AppendObject(std::make_unique<TUserButton>());
    const auto bytes = Stored(stored);
    const struct
    {
        size_t cut;
        size_t objects;
    } cases[] = {{3, 0}, {bytes.size() - 4 - 100, 1}, {bytes.size() - 1, 2}};
    for (const auto& c : cases)
    {
        CDataStore in(bytes.data(), c.cut);
        TUserPage page;
        page.Serialize(in);
        EXPECT_TRUE(in.Failed()) << c.cut;
        EXPECT_EQ(page.objects.size(), c.objects) << c.cut;
    }
}

TEST(UserObject, CornerAtFindsTheFirstHandleHoldingThePoint)
{
    TUserObject object;
    object.left = 100;
    object.top = 50;
    object.width = 40;
    object.height = 20;
    const struct
    {
        int32_t x, y, corner;
    } cases[] = {
        {96, 46, kCornerTopLeft},      {103, 53, kCornerTopLeft},  {104, 50, kCornerNone},
        {95, 50, kCornerNone},         {136, 46, kCornerTopRight}, {140, 70, kCornerBottomRight},
        {143, 73, kCornerBottomRight}, {144, 70, kCornerNone},     {100, 73, kCornerBottomLeft},
        {120, 60, kCornerNone},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(object.CornerAt(c.x, c.y), c.corner) << c.x << "," << c.y;
    }
    // On an object smaller than a handle, corners overlap and the earlier one wins.
    object.width = 2;
    object.height = 2;
    EXPECT_EQ(object.CornerAt(101, 51), kCornerTopLeft);
}

class ObjectListTest : public ::testing::Test
{
protected:
    TUserObject* Add(int32_t left, int32_t top, int32_t width, int32_t height)
    {
        auto object = std::make_unique<TUserObject>(kObjectImage);
        object->left = left;
        object->top = top;
        object->width = width;
        object->height = height;
        return page.AppendObject(std::move(object));
    }
    std::vector<TUserObject*> Order() const
    {
        std::vector<TUserObject*> order;
        for (const auto& object : page.objects)
        {
            order.push_back(object.get());
        }
        return order;
    }

    TUserPage page;
};

TEST_F(ObjectListTest, ObjectAtPrefersTheFrontAndExcludesRightAndBottomEdges)
{
    TUserObject* back = Add(0, 0, 100, 100);
    TUserObject* front = Add(50, 50, 100, 100);
    EXPECT_EQ(page.ObjectAt(60, 60), front);
    EXPECT_EQ(page.ObjectAt(10, 10), back);
    EXPECT_EQ(page.ObjectAt(100, 10), nullptr);
    EXPECT_EQ(page.ObjectAt(150, 60), nullptr);
    EXPECT_EQ(page.ObjectAt(60, 150), nullptr);
    EXPECT_EQ(page.ObjectAt(149, 149), front);
}

TEST_F(ObjectListTest, PushPullAppendRemove)
{
    TUserObject* a = Add(0, 0, 1, 1);
    TUserObject* b = Add(0, 0, 1, 1);
    TUserObject* c = Add(0, 0, 1, 1);
    using V = std::vector<TUserObject*>;

    page.PushObject(a); // already at the back
    page.PullObject(c); // already in front
    EXPECT_EQ(Order(), (V{a, b, c}));

    page.PushObject(c);
    EXPECT_EQ(Order(), (V{c, a, b}));
    page.PullObject(c);
    EXPECT_EQ(Order(), (V{a, b, c}));

    TUserObject stranger;
    page.PushObject(&stranger);
    page.PullObject(&stranger);
    EXPECT_EQ(page.RemoveObject(&stranger), nullptr);
    EXPECT_EQ(Order(), (V{a, b, c}));

    std::unique_ptr<TUserObject> removed = page.RemoveObject(b);
    EXPECT_EQ(removed.get(), b);
    EXPECT_EQ(Order(), (V{a, c}));
    EXPECT_EQ(page.AppendObject(std::move(removed)), b);
    EXPECT_EQ(Order(), (V{a, c, b}));
}

} // namespace
