#include "AboutDlg.h"
#include "DialogDriver.h"

#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace
{

TEST(AboutDlg, ShowsTheVersionAndTheCommitBesideTheOtherControls)
{
    CAboutDlg box;
    box.adjustSize();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^QELMorvane, Version \\d+\\.\\d+\\.\\d+$"))
                    .match(Caption(&box, kAboutVersionId))
                    .hasMatch())
        << Caption(&box, kAboutVersionId).toStdString();
    // Empty when built from a tree without git.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Za-z0-9._+-]*$"))
                    .match(Caption(&box, kAboutBuildId))
                    .hasMatch())
        << Caption(&box, kAboutBuildId).toStdString();

    // The commit's line lies inside the box and clear of OK.
    const auto* build = DlgItem<QLabel>(&box, kAboutBuildId);
    const auto* ok = Button(&box, 1);
    ASSERT_NE(build, nullptr);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(box.rect().contains(build->geometry()));
    EXPECT_FALSE(build->geometry().intersects(ok->geometry()));
}

} // namespace
