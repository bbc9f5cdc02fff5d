#include "Btn8Dlg.h"

#include "Btn8Ctrl.h"
#include "CodePageGuard.h"
#include "DialogDriver.h"
#include "TextFieldEdit.h"

#include <gtest/gtest.h>

namespace
{

std::string Stored(const TTextField& field)
{
    return std::string(reinterpret_cast<const char*>(field.data()));
}

QString RowLabel(int n)
{
    return QStringLiteral("Button %1:").arg(n);
}

class Btn8DlgTest : public ::testing::Test
{
protected:
    CCodePageGuard m_codePage{"CP1252"};
    CBtn8Ctrl m_page{u"8 Button"};
};

TEST_F(Btn8DlgTest, OkWritesEachRowToItsButtonAndShowsItAgain)
{
    // 79 bytes in CP1252: the most a field holds besides its zero.
    const QString longName = QStringLiteral("Gr\u00FC\u00DFe ") + QString(73, u'n');
    for (int n = 1; n <= CBtn8Dlg::kButtons; ++n)
    {
        CBtn8Dlg dlg(&m_page);
        const QList<QLineEdit*> row = RowEdits(&dlg, RowLabel(n));
        ASSERT_EQ(row.size(), 2) << n;
        EXPECT_EQ(row[0]->objectName().toInt(), CBtn8Dlg::NameId(n));
        EXPECT_EQ(row[1]->objectName().toInt(), CBtn8Dlg::TextId(n));
        Type(&dlg, CBtn8Dlg::NameId(n), n == 3 ? longName : QStringLiteral("Name %1").arg(n));
        Type(&dlg, CBtn8Dlg::TextId(n), QStringLiteral("EVT%1").arg(n));
        Click(&dlg, CBtn8Dlg::kOk);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    for (size_t i = 0; i < CBtn8Dlg::kButtons; ++i)
    {
        const int n = static_cast<int>(i) + 1;
        EXPECT_EQ(Stored(m_page.texts[i]), "EVT" + std::to_string(n));
        if (n != 3)
        {
            EXPECT_EQ(Stored(m_page.names[i]), "Name " + std::to_string(n));
        }
    }
    EXPECT_EQ(Stored(m_page.names[2]), "Gr\xFC\xDF"
                                       "e " +
                                           std::string(73, 'n'));
    EXPECT_EQ(m_page.names[2][79], 0);

    CBtn8Dlg again(&m_page);
    EXPECT_EQ(Text(&again, CBtn8Dlg::NameId(3)), longName);
    EXPECT_EQ(Text(&again, CBtn8Dlg::TextId(8)), QStringLiteral("EVT8"));
}

TEST_F(Btn8DlgTest, InputStopsAtTheFieldsCapacityInAMultiByteCodePage)
{
    CCodePageGuard chinese("936");
    const QString han = QStringLiteral("\u4E2D\u6587");
    CBtn8Dlg dlg(&m_page);
    Type(&dlg, CBtn8Dlg::TextId(5), han.repeated(25));
    EXPECT_EQ(Text(&dlg, CBtn8Dlg::TextId(5)), han.repeated(19) + han.left(1)) << "39 characters, 78 bytes";
    Type(&dlg, CBtn8Dlg::NameId(5), QStringLiteral("A") + han.repeated(25));
    EXPECT_EQ(Text(&dlg, CBtn8Dlg::NameId(5)), QStringLiteral("A") + han.repeated(19) + han.left(1));
    Click(&dlg, CBtn8Dlg::kOk);
    EXPECT_EQ(Stored(m_page.texts[4]).size(), 78u);
    EXPECT_EQ(Stored(m_page.names[4]).size(), 79u);
    EXPECT_EQ(QString::fromStdU16String(TextFieldToWide(m_page.texts[4])), han.repeated(19) + han.left(1));
}

TEST_F(Btn8DlgTest, CancelChangesNothing)
{
    m_page.names[0] = MakeTextField(u"Lights");
    m_page.texts[0] = MakeTextField(u"LIGHTS ON");
    const auto names = m_page.names;
    const auto texts = m_page.texts;
    CBtn8Dlg dlg(&m_page);
    EXPECT_EQ(Text(&dlg, CBtn8Dlg::NameId(1)), QStringLiteral("Lights"));
    EXPECT_EQ(Text(&dlg, CBtn8Dlg::TextId(1)), QStringLiteral("LIGHTS ON"));
    for (int n = 1; n <= CBtn8Dlg::kButtons; ++n)
    {
        Type(&dlg, CBtn8Dlg::NameId(n), QStringLiteral("changed"));
        Type(&dlg, CBtn8Dlg::TextId(n), QStringLiteral("changed"));
    }
    Click(&dlg, CBtn8Dlg::kCancel);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(m_page.names, names);
    EXPECT_EQ(m_page.texts, texts);
}

TEST_F(Btn8DlgTest, WithoutAPageItOpensEmptyAndStoresNothing)
{
    CBtn8Dlg dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("8 Button Page"));
    const QList<CTextFieldEdit*> edits = dlg.findChildren<CTextFieldEdit*>();
    EXPECT_EQ(edits.size(), 2 * CBtn8Dlg::kButtons);
    for (const CTextFieldEdit* edit : edits)
        EXPECT_TRUE(edit->text().isEmpty());
    Type(&dlg, CBtn8Dlg::NameId(1), QStringLiteral("Lights"));
    Click(&dlg, CBtn8Dlg::kOk);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(Btn8DlgTest, SaysSoWhenACharacterWillShowAsAQuestionMarkButStillStores)
{
    CBtn8Dlg dlg(&m_page);
    dlg.show();
    auto* warning = dlg.findChild<CTextFieldWarning*>();
    ASSERT_NE(warning, nullptr);
    EXPECT_FALSE(warning->isVisible());
    Type(&dlg, CBtn8Dlg::NameId(2), QStringLiteral("Caf\u00E9 \u4E2D"));
    EXPECT_TRUE(warning->isVisible());
    Click(&dlg, CBtn8Dlg::kOk);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Stored(m_page.names[1]), "Caf\xE9 ?");
}

} // namespace
