#include "PicturesDlg.h"

#include "DialogDriver.h"
#include "ImageBuffer.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "PictureUse.h"
#include "ScriptedUiServices.h"
#include "UserButton.h"
#include "UserPage.h"

#include <QTreeWidget>

#include <gtest/gtest.h>

namespace
{

using D = CPicturesDlg;

std::unique_ptr<CImageBuffer> Picture(int32_t width, int32_t height)
{
    auto picture = std::make_unique<CImageBuffer>();
    EXPECT_TRUE(picture->Data().Create(width, height, 24));
    return picture;
}

// The built-in pictures, "Unused" and "Logo", which a button on "Lobby" shows.
class PicturesDlgTest : public ::testing::Test
{
protected:
    PicturesDlgTest()
    {
        m_unused = m_layout.images.AddImage(u"Unused", Picture(20, 10))->id;
        m_logo = m_layout.images.AddImage(u"Logo", Picture(40, 30))->id;
        auto lobby = std::make_unique<TUserPage>(u"Lobby", 10000);
        auto button = std::make_unique<TUserButton>();
        button->upFace = {kFaceImage, m_logo};
        lobby->AppendObject(std::move(button));
        m_layout.pages.InsertPage(std::move(lobby));
    }

    bool Enabled(const QWidget* dlg, int id) { return Button(dlg, id)->isEnabled(); }

    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
    TLayout m_layout;
    CLayoutHistory m_history{m_layout};
    int32_t m_unused;
    int32_t m_logo;
};

TEST_F(PicturesDlgTest, ListsEveryPictureAndLocksTheBuiltInOnes)
{
    D dlg(m_layout);
    const auto* list = DlgItem<QTreeWidget>(&dlg, D::kList);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(m_layout.images.Size()));
    const QTreeWidgetItem* logo = list->topLevelItem(dlg.RowOf(m_logo));
    EXPECT_EQ(logo->text(D::kNameColumn), QStringLiteral("Logo"));
    EXPECT_EQ(logo->text(D::kSizeColumn), QStringLiteral("40 \u00D7 30"));
    EXPECT_EQ(logo->text(D::kBytesColumn),
              QString::number(StoredBytes(*m_layout.images.FindImage(m_logo))));
    EXPECT_EQ(logo->text(D::kUsesColumn), QStringLiteral("page \"Lobby\": button 1 up face"));
    EXPECT_FALSE(logo->icon(D::kNameColumn).isNull());
    EXPECT_EQ(list->topLevelItem(dlg.RowOf(m_unused))->text(D::kUsesColumn), QStringLiteral("not used"));

    struct TCase
    {
        int32_t id;
        bool unlocked;
    };
    for (const TCase& c : {TCase{1, false}, TCase{16, false}, TCase{m_unused, true}, TCase{m_logo, true}})
    {
        ASSERT_GE(dlg.RowOf(c.id), 0) << c.id;
        dlg.Select(c.id);
        EXPECT_EQ(Enabled(&dlg, D::kRename), c.unlocked) << c.id;
        EXPECT_EQ(Enabled(&dlg, D::kRemove), c.unlocked) << c.id;
    }
}

TEST_F(PicturesDlgTest, RemovesOnlyWhatNothingShowsAndUndoesToTheByte)
{
    const std::vector<uint8_t> before = m_layout.SaveToBytes();
    D dlg(m_layout);
    dlg.Select(m_logo);
    Click(&dlg, D::kRemove);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text,
              QString::fromStdString(DescribePictureInUse(m_logo, FindPictureUses(m_layout, m_logo))));
    EXPECT_EQ(m_ui.messages[0].text,
              QStringLiteral("picture %1 is used by page \"Lobby\": button 1 up face").arg(m_logo));
    EXPECT_NE(m_layout.images.FindImage(m_logo), nullptr);
    EXPECT_EQ(m_history.Stack().count(), 0);

    dlg.Select(m_unused);
    Click(&dlg, D::kRemove);
    EXPECT_EQ(m_layout.images.FindImage(m_unused), nullptr);
    EXPECT_EQ(dlg.RowOf(m_unused), -1);
    EXPECT_EQ(m_history.Stack().count(), 1);
    m_history.Undo();
    EXPECT_EQ(m_layout.SaveToBytes(), before);
    EXPECT_GE(dlg.RowOf(m_unused), 0) << "the open list follows the undo";
    m_history.Redo();
    EXPECT_EQ(m_layout.images.FindImage(m_unused), nullptr);
    EXPECT_EQ(dlg.RowOf(m_unused), -1);
}

TEST_F(PicturesDlgTest, RenameIsOneStep)
{
    D dlg(m_layout);
    dlg.Select(m_logo);
    m_ui.dialogAnswers.push_back(
        [](QDialog& prompt)
        {
            EXPECT_EQ(Text(&prompt, CPictureNameDlg::kName), QStringLiteral("Logo"));
            Type(&prompt, CPictureNameDlg::kName, QStringLiteral("Crest"));
            Click(&prompt, CPictureNameDlg::kOk);
        });
    Click(&dlg, D::kRename);
    EXPECT_EQ(m_ui.dialogsShown.value(0), QStringLiteral("Rename Picture"));
    EXPECT_EQ(m_layout.images.FindImage(m_logo)->name, u"Crest");
    EXPECT_EQ(DlgItem<QTreeWidget>(&dlg, D::kList)->topLevelItem(dlg.RowOf(m_logo))->text(D::kNameColumn),
              QStringLiteral("Crest"));
    EXPECT_EQ(m_history.Stack().count(), 1);
    m_history.Undo();
    EXPECT_EQ(m_layout.images.FindImage(m_logo)->name, u"Logo");
    EXPECT_EQ(DlgItem<QTreeWidget>(&dlg, D::kList)->topLevelItem(dlg.RowOf(m_logo))->text(D::kNameColumn),
              QStringLiteral("Logo"))
        << "the open list follows the undo";

    // Cancelled, nothing changes.
    Click(&dlg, D::kRename);
    EXPECT_EQ(m_layout.images.FindImage(m_logo)->name, u"Logo");
    EXPECT_EQ(m_history.Stack().index(), 0);
}

} // namespace
