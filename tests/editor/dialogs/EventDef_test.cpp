#include "EventDef.h"

#include "CodePageGuard.h"
#include "DialogDriver.h"
#include "Layout.h"
#include "TextFieldEdit.h"

#include <QScrollBar>

#include <QScreen>

#include <gtest/gtest.h>

#include <set>

namespace
{

QString RowLabel(int n)
{
    return QStringLiteral("Event #%1").arg(n);
}

std::string Stored(const TTextField& field)
{
    return std::string(reinterpret_cast<const char*>(field.data()));
}

bool AllZero(const TTextField& field)
{
    return std::all_of(field.begin(), field.end(), [](uint8_t b) { return b == 0; });
}

class EventDefTest : public ::testing::Test
{
protected:
    CCodePageGuard m_codePage{"CP1252"};
    TLayout m_layout;
};

TEST_F(EventDefTest, AFreshLayoutShowsEmptyRowsAndOkLeavesItsFieldsZero)
{
    CEventDef dlg(m_layout);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("User Event Definitions"));
    const QList<CTextFieldEdit*> edits = dlg.findChildren<CTextFieldEdit*>();
    EXPECT_EQ(edits.size(), 2 * CEventDef::kEvents);
    std::set<int> ids;
    for (const CTextFieldEdit* edit : edits)
    {
        EXPECT_TRUE(edit->text().isEmpty());
        ids.insert(edit->objectName().toInt());
    }
    for (int n = 1; n <= CEventDef::kEvents; ++n)
        EXPECT_EQ(ids.count(CEventDef::DescriptionId(n)) + ids.count(CEventDef::TextId(n)), 2u) << n;

    Click(&dlg, CEventDef::kOk);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    for (size_t i = 0; i < TLayout::kEvents; ++i)
    {
        EXPECT_TRUE(AllZero(m_layout.eventDescriptions[i])) << i;
        EXPECT_TRUE(AllZero(m_layout.eventTexts[i])) << i;
    }
}

TEST_F(EventDefTest, TheRowsWithIrregularIdsStoreTheirOwnEvent)
{
    const struct
    {
        int event;
        int descriptionId;
        int textId;
    } cases[] = {
        {3, CEventDef::kDescription3, CEventDef::kText3},
        {4, CEventDef::kDescription4, CEventDef::kText4},
        {5, CEventDef::kDescription5, CEventDef::kText5},
        {6, CEventDef::kDescription6, CEventDef::kText6},
    };
    for (const auto& c : cases)
    {
        TLayout layout;
        CEventDef dlg(layout);
        const QList<QLineEdit*> row = RowEdits(&dlg, RowLabel(c.event));
        ASSERT_EQ(row.size(), 2);
        EXPECT_EQ(row[0]->objectName().toInt(), c.descriptionId);
        EXPECT_EQ(row[1]->objectName().toInt(), c.textId);
        Type(&dlg, c.textId, QStringLiteral("text of %1").arg(c.event));
        Type(&dlg, c.descriptionId, QStringLiteral("about %1").arg(c.event));
        Click(&dlg, CEventDef::kOk);
        for (int n = 1; n <= TLayout::kEvents; ++n)
        {
            const size_t i = static_cast<size_t>(n - 1);
            EXPECT_EQ(Stored(layout.eventTexts[i]), n == c.event ? "text of " + std::to_string(n) : "") << n;
            EXPECT_EQ(Stored(layout.eventDescriptions[i]), n == c.event ? "about " + std::to_string(n) : "")
                << n;
        }
    }
}

TEST_F(EventDefTest, CancelAfterEditingEveryRowChangesNothing)
{
    for (size_t i = 0; i < TLayout::kEvents; ++i)
    {
        m_layout.eventDescriptions[i] = MakeTextField(u"Scene " + std::u16string(1, u'A' + i));
        m_layout.eventTexts[i] = MakeTextField(u"SCENE" + std::u16string(1, u'A' + i));
    }
    const auto descriptions = m_layout.eventDescriptions;
    const auto texts = m_layout.eventTexts;
    CEventDef dlg(m_layout);
    EXPECT_EQ(Text(&dlg, CEventDef::DescriptionId(4)), QStringLiteral("Scene D"));
    EXPECT_EQ(Text(&dlg, CEventDef::TextId(24)), QStringLiteral("SCENEX"));
    for (int n = 1; n <= CEventDef::kEvents; ++n)
    {
        Type(&dlg, CEventDef::DescriptionId(n), QStringLiteral("changed"));
        Type(&dlg, CEventDef::TextId(n), QStringLiteral("changed"));
    }
    Click(&dlg, CEventDef::kCancel);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(m_layout.eventDescriptions, descriptions);
    EXPECT_EQ(m_layout.eventTexts, texts);
}

// Taller than a small screen, the dialog opens within the screen's free area
// and scrolls to the rows that do not fit.
TEST_F(EventDefTest, OpensWithinTheScreensFreeAreaAndScrolls)
{
    CEventDef dlg(m_layout);
    const QRect free = dlg.screen()->availableGeometry();
    ASSERT_GT(dlg.DesignedSize().height(), free.height()) << "the offscreen screen is smaller than the dialog";
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(free.contains(dlg.frameGeometry())) << dlg.frameGeometry().width() << " x " << dlg.frameGeometry().height();
    EXPECT_GT(dlg.VerticalMaximum(), 0);
    EXPECT_TRUE(dlg.ScrollBar(Qt::Vertical)->isVisible());
}

TEST_F(EventDefTest, ShrunkItScrollsToEveryRowAndStoresThemAll)
{
    CEventDef dlg(m_layout);
    dlg.show();
    dlg.resize(dlg.DesignedSize() / 2);
    QCoreApplication::processEvents();
    ASSERT_GT(dlg.VerticalMaximum(), 0);
    QScrollBar* bar = dlg.ScrollBar(Qt::Vertical);
    const QRect client(QPoint(0, 0), dlg.ClientSize());
    const auto shown = [&](const QWidget* w) { return QRect(w->mapTo(&dlg, QPoint(0, 0)), w->size()); };

    // Row by row as a person would: drag the bar until the row shows, then
    // click into each of its edits and type.
    for (int n = 1; n <= CEventDef::kEvents; ++n)
    {
        QList<QLineEdit*> row = RowEdits(&dlg, RowLabel(n));
        ASSERT_EQ(row.size(), 2);
        while (shown(row[0]).bottom() > client.bottom() && bar->value() < bar->maximum())
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        for (int e = 0; e < 2; ++e)
        {
            QLineEdit* edit = row[e];
            ASSERT_TRUE(client.contains(shown(edit).topLeft())) << n;
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
            KeyClicks(edit, QStringLiteral("%1 %2").arg(e == 0 ? "about" : "text").arg(n));
        }
    }
    EXPECT_GT(dlg.VerticalPosition(), 0);
    QTest::keyClick(DlgItem<QWidget>(&dlg, CEventDef::TextId(24)), Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted) << "Enter presses OK";
    for (int n = 1; n <= CEventDef::kEvents; ++n)
    {
        const size_t i = static_cast<size_t>(n - 1);
        EXPECT_EQ(Stored(m_layout.eventDescriptions[i]), "about " + std::to_string(n));
        EXPECT_EQ(Stored(m_layout.eventTexts[i]), "text " + std::to_string(n));
    }
}

// A stored byte the code page does not define (CP1252's 0x81) is no
// character the installer typed: it raises no warning, and OK stores it
// again as itself, left alone or beside an edit in its field; a character
// typed that the code page lacks still warns and becomes '?'.
TEST_F(EventDefTest, BytesTheCodePageDoesNotDefineSurviveOk)
{
    const std::string undefined = "GO\x81"
                                  "1";
    for (const bool edit : {false, true})
    {
        TTextField field{};
        std::copy(undefined.begin(), undefined.end(), field.begin());
        field[40] = 'k';
        m_layout.eventTexts[0] = field;
        m_layout.eventTexts[1] = field;
        CEventDef dlg(m_layout);
        const auto* warning = dlg.findChild<CTextFieldWarning*>();
        ASSERT_NE(warning, nullptr);
        EXPECT_TRUE(warning->isHidden()) << edit;
        if (edit)
        {
            TypeAt(&dlg, CEventDef::TextId(1), 0, QStringLiteral("~"));
            TypeAt(&dlg, CEventDef::TextId(2), 4, QStringLiteral("\u4E2D"));
            EXPECT_FALSE(warning->isHidden()) << "a typed character CP1252 lacks";
        }
        Click(&dlg, CEventDef::kOk);
        EXPECT_EQ(Stored(m_layout.eventTexts[0]), (edit ? "~" : "") + undefined) << edit;
        EXPECT_EQ(Stored(m_layout.eventTexts[1]), undefined + (edit ? "?" : "")) << edit;
        EXPECT_EQ(m_layout.eventTexts[0][40], 'k') << "the bytes after the text stay";
    }
}

} // namespace
