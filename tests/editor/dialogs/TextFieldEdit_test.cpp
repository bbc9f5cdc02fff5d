#include "TextFieldEdit.h"

#include "CodePageGuard.h"
#include "DialogDriver.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <memory>

namespace
{

const QString kHan = QStringLiteral("\u4E2D"); // two bytes in CP936, none in CP1252
const QString kSmiley = QStringLiteral("\U0001F600");

QString Repeat(const QString& text, int times)
{
    return text.repeated(times);
}

// A dialog with two text-field edits in place of its template's edits and
// the warning line watching both.
class TextFieldEditTest : public ::testing::Test
{
protected:
    enum EControl : int
    {
        kFirst = 1000,
        kSecond = 1001,
    };

    TextFieldEditTest()
    {
        static const TDlgTemplate tmpl{0,
                                       QStringLiteral("Fields"),
                                       200,
                                       60,
                                       {
                                           {kFirst, EControlKind::Edit, {}, 5, 5, 190, 14, kStyleBorder},
                                           {kSecond, EControlKind::Edit, {}, 5, 25, 190, 14, kStyleBorder},
                                       }};
        BuildDialog(&m_dialog, tmpl);
        m_first = CTextFieldEdit::Replace(&m_dialog, kFirst);
        m_second = CTextFieldEdit::Replace(&m_dialog, kSecond);
        m_warning = new CTextFieldWarning(&m_dialog);
        m_warning->Watch(m_first);
        m_warning->Watch(m_second);
        m_dialog.show();
    }

    // What the installer sees is what is stored: nothing is cut on the way,
    // and the text comes back unless it holds characters stored as '?'.
    void ExpectStoredAsShown(const CTextFieldEdit* edit)
    {
        const TTextField field = edit->Field();
        const std::u16string shown = edit->text().toStdU16String();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(field.data())).size(), MeasureAnsi(shown).bytes);
        if (edit->IsLossless())
        {
            EXPECT_EQ(TextFieldToWide(field), shown);
        }
    }

    QDialog m_dialog;
    CTextFieldEdit* m_first = nullptr;
    CTextFieldEdit* m_second = nullptr;
    CTextFieldWarning* m_warning = nullptr;
};

TEST_F(TextFieldEditTest, TakesThePlaceOfTheTemplatesEdit)
{
    EXPECT_EQ(DlgItem<CTextFieldEdit>(&m_dialog, kFirst), m_first);
    EXPECT_EQ(m_dialog.findChildren<QLineEdit*>().size(), 2);
    EXPECT_EQ(m_first->geometry(), CDialogUnits(m_dialog.font()).ToPixels(5, 5, 190, 14));
    EXPECT_EQ(m_first->nextInFocusChain(), m_second);
}

TEST_F(TextFieldEditTest, TypingStopsWhereTheFieldIsFullCountingBytes)
{
    struct TCase
    {
        const char* codePage;
        QString before;
        int cursor;
        QString typed;
        QString shown;
    };
    const TCase cases[] = {
        {"CP1252", {}, 0, Repeat("x", 100), Repeat("x", 79)},
        {"CP936", {}, 0, Repeat(kHan, 45), Repeat(kHan, 39)},
        // 78 bytes: one more two-byte character would need 80, a letter fits.
        {"CP936", Repeat(kHan, 39), 39, kHan + "ab", Repeat(kHan, 39) + "a"},
        // A key typed into a full field is refused where the cursor stands,
        // and nothing after it is pushed out.
        {"CP936", "ab" + Repeat(kHan, 38), 1, kHan + "x" + kHan, "axb" + Repeat(kHan, 38)},
        {"CP1252", Repeat("x", 79), 0, "y", Repeat("x", 79)},
    };
    for (const TCase& c : cases)
    {
        CCodePageGuard guard(c.codePage);
        m_first->SetField(MakeTextField(c.before.toStdU16String()));
        ASSERT_EQ(m_first->text(), c.before) << c.codePage;
        TypeAt(&m_dialog, kFirst, c.cursor, c.typed);
        EXPECT_EQ(m_first->text(), c.shown) << c.codePage << " " << c.typed.toStdString();
        ExpectStoredAsShown(m_first);
    }
}

TEST_F(TextFieldEditTest, PastedTextIsCutAtACharacterBoundary)
{
    struct TCase
    {
        const char* codePage;
        QString before;
        int cursor;
        QString pasted;
        QString shown;
        int cursorAfter;
    };
    const TCase cases[] = {
        {"CP1252", {}, 0, Repeat("y", 200), Repeat("y", 79), 79},
        {"CP936", "abcd", 2, Repeat(kHan, 40), "ab" + Repeat(kHan, 37) + "cd", 39},
        // A surrogate pair is one character (stored as one '?'), never split.
        {"CP1252", Repeat("x", 78), 78, kSmiley + kSmiley, Repeat("x", 78) + kSmiley, 80},
    };
    for (const TCase& c : cases)
    {
        CCodePageGuard guard(c.codePage);
        m_first->SetField(MakeTextField(c.before.toStdU16String()));
        m_first->setCursorPosition(c.cursor);
        Paste(&m_dialog, kFirst, c.pasted);
        EXPECT_EQ(m_first->text(), c.shown) << c.codePage;
        EXPECT_EQ(m_first->cursorPosition(), c.cursorAfter) << c.codePage;
        ExpectStoredAsShown(m_first);
    }
}

TEST_F(TextFieldEditTest, ShowsAndStoresFields)
{
    CCodePageGuard guard("CP1252");
    TTextField field;
    field.fill('z');
    m_first->SetField(field);
    EXPECT_EQ(m_first->text(), Repeat("z", 79)) << "a field without its zero byte is cut";

    field = MakeTextField(u"Gr\u00FC\u00DFe");
    field[20] = 'k';
    m_first->SetField(field);
    EXPECT_EQ(m_first->text(), QStringLiteral("Gr\u00FC\u00DFe"));
    Type(&m_dialog, kFirst, QStringLiteral("Bar"));
    m_first->StoreField(field);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(field.data())), "Bar");
    EXPECT_EQ(field[20], 'k') << "the bytes after the text are the owner's";
    EXPECT_EQ(m_first->Field()[20], 0);
}

TEST_F(TextFieldEditTest, WarnsWhileAnyFieldHoldsACharacterTheCodePageLacks)
{
    CCodePageGuard guard("CP1252");
    EXPECT_TRUE(m_warning->isHidden());
    Type(&m_dialog, kFirst, "a" + kHan);
    EXPECT_FALSE(m_warning->isHidden()) << "as soon as it is typed";
    EXPECT_EQ(m_warning->text(), CTextFieldWarning::Message());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(m_first->Field().data())), "a?");

    Paste(&m_dialog, kSecond, kSmiley);
    Type(&m_dialog, kFirst, QStringLiteral("a?"));
    EXPECT_FALSE(m_warning->isHidden()) << "the second field still loses a character";
    Type(&m_dialog, kSecond, QStringLiteral("ok"));
    EXPECT_TRUE(m_warning->isHidden()) << "a typed '?' is no loss";

    // A stored field cut inside a two-byte character shows it as U+FFFD,
    // but gives back its byte: nothing the installer typed is lost.
    CCodePageGuard chinese("CP936");
    TTextField cut{};
    cut[0] = 'a';
    cut[1] = 0x81;
    m_second->SetField(cut);
    EXPECT_EQ(m_second->text(), QStringLiteral("a\uFFFD"));
    EXPECT_TRUE(m_warning->isHidden());
    EXPECT_EQ(m_second->Field(), cut);
}

} // namespace
