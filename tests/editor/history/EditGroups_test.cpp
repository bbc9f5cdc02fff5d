#include "LayoutEdits.h"
#include "LayoutHistory.h"

#include "Layout.h"
#include "UserButton.h"
#include "UserPage.h"

#include <gtest/gtest.h>

namespace
{

struct TDoc
{
    TDoc()
    {
        page = static_cast<TUserPage*>(
            layout.pages.InsertPage(std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId())));
        for (int i = 0; i < 3; ++i)
        {
            auto button = std::make_unique<TUserButton>();
            button->SetRect({10 + 50 * i, 10, 40, 30});
            page->AppendObject(std::move(button));
        }
    }
    std::vector<uint8_t> Bytes() { return layout.SaveToBytes(); }

    TLayout layout;
    TUserPage* page = nullptr;
    CLayoutHistory history{layout};
};

TEST(EditGroups, AGroupIsOneStepUndoneAndRedoneByteForByte)
{
    TDoc doc;
    const std::vector<uint8_t> before = doc.Bytes();
    CLayoutEdits& edits = doc.history.Edits();
    {
        CLayoutEdits::CGroup group(edits, QStringLiteral("Move 3 Objects"));
        for (size_t i = 0; i < 3; ++i)
        {
            TObjectRect r = doc.page->objects[i]->Rect();
            r.top += 20;
            edits.Nudge(*doc.page, i, r);
        }
        CLayoutEdits::CGroup inner(edits, QStringLiteral("ignored"));
        edits.Delete(*doc.page, 2);
    }
    const std::vector<uint8_t> after = doc.Bytes();
    EXPECT_EQ(doc.history.Stack().count(), 1);
    EXPECT_EQ(doc.history.UndoText(), QStringLiteral("Move 3 Objects"));
    EXPECT_EQ(doc.page->objects.size(), 2u);
    doc.history.Undo();
    EXPECT_EQ(doc.Bytes(), before);
    doc.history.Redo();
    EXPECT_EQ(doc.Bytes(), after);

    // A group of one change is that change's own step; one of none is none.
    {
        CLayoutEdits::CGroup group(edits, QStringLiteral("Delete 1 Object"));
        edits.Delete(*doc.page, 0);
    }
    EXPECT_EQ(doc.history.UndoText(), QStringLiteral("Delete Button"));
    {
        CLayoutEdits::CGroup group(edits, QStringLiteral("Nothing"));
    }
    EXPECT_EQ(doc.history.Stack().count(), 2);
}

// Arrow keys on a selection: each press is a group of key moves, and a run
// of them is one step, gone when the run comes back to the start.
TEST(EditGroups, ARunOfKeyPressesOnASelectionIsOneStep)
{
    TDoc doc;
    CLayoutEdits& edits = doc.history.Edits();
    const auto press = [&](int dx)
    {
        CLayoutEdits::CGroup group(edits, QStringLiteral("Move 2 Objects"));
        for (size_t i = 0; i < 2; ++i)
        {
            TObjectRect r = doc.page->objects[i]->Rect();
            r.left += dx;
            edits.Nudge(*doc.page, i, r);
        }
    };
    press(1);
    press(1);
    press(1);
    EXPECT_EQ(doc.history.Stack().count(), 1);
    EXPECT_EQ(doc.page->objects[1]->left, 63);
    doc.history.Undo();
    EXPECT_EQ(doc.page->objects[0]->left, 10);
    EXPECT_EQ(doc.page->objects[1]->left, 60);
    press(1);
    press(-1);
    EXPECT_EQ(doc.history.Stack().count(), 0) << "keys that came back leave no step";
}

} // namespace
