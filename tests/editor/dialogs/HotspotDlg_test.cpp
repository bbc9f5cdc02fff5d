#include "HotspotDlg.h"

#include "Btn8Ctrl.h"
#include "DialogDriver.h"
#include "Layout.h"
#include "UserPage.h"

#include <gtest/gtest.h>

namespace
{

// Pages "Lobby" (10000), "Bar" (10001), "Kitchen" (10002) and an eight-button
// page added since the layout was loaded (id -1).
class HotspotDlgTest : public ::testing::Test
{
protected:
    HotspotDlgTest()
    {
        for (const char16_t* name : {u"Lobby", u"Bar", u"Kitchen"})
            m_layout.pages.InsertPage(std::make_unique<TUserPage>(name, m_layout.pages.NextPageId()));
        m_layout.pages.InsertPage(std::make_unique<CBtn8Ctrl>(u"8 Button"));
    }

    TLayout m_layout;
};

TEST_F(HotspotDlgTest, OffersTheOtherPagesSortedWithReturnToPrevious)
{
    CHotspotDlg dlg(&m_layout, -1, 10000);
    EXPECT_EQ(Entries(&dlg, CHotspotDlg::kTargetList),
              QStringList({"8 Button", "Bar", "Kitchen", "Return to Previous"}))
        << "never the page the hot spot lies on";
    EXPECT_EQ(Selected(&dlg, CHotspotDlg::kTargetList), QString());

    Choose(&dlg, CHotspotDlg::kTargetList, QStringLiteral("Kitchen"));
    EXPECT_EQ(dlg.Target(), 10002);
    Choose(&dlg, CHotspotDlg::kTargetList, QStringLiteral("8 Button"));
    EXPECT_EQ(dlg.Target(), -1) << "an eight-button page made by Add has no id yet";
}

TEST_F(HotspotDlgTest, PreselectsTheTarget)
{
    struct TCase
    {
        int32_t target;
        QString selected;
    };
    for (const TCase& c : {TCase{10001, "Bar"}, TCase{2, "Return to Previous"}, TCase{-1, ""},
                           TCase{10000, ""}, TCase{10007, ""}})
    {
        CHotspotDlg dlg(&m_layout, c.target, 10000);
        EXPECT_EQ(Selected(&dlg, CHotspotDlg::kTargetList), c.selected) << c.target;
        Click(&dlg, CHotspotDlg::kOk);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.Target(), c.target) << "OK without a choice keeps the target";
    }
}

TEST_F(HotspotDlgTest, TypingIntoTheListChoosesNothing)
{
    CHotspotDlg dlg(&m_layout, 10001, 10000);
    QTest::keyClicks(Combo(&dlg, CHotspotDlg::kTargetList)->lineEdit(), QStringLiteral("Lobby"));
    Click(&dlg, CHotspotDlg::kCancel);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.Target(), 10001);
}

} // namespace
