#include "TextDlg.h"

#include "AddImageDlg.h"
#include "DialogDriver.h"
#include "ImageBuffer.h"
#include "LabelPicture.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "ScriptedUiServices.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace
{

using D = CTextDlg;

// Types lines into the text box, Return between them.
void TypeLines(const QWidget* dlg, const QStringList& lines)
{
    auto* edit = DlgItem<QPlainTextEdit>(dlg, D::kText);
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (qsizetype i = 0; i < lines.size(); ++i)
    {
        if (i > 0)
            QTest::keyClick(edit, Qt::Key_Return);
        KeyClicks(edit, lines[i]);
    }
}

// Picks a palette colour on a colour button with the pointer and Enter.
void PickColour(const QWidget* dlg, int id, int cell)
{
    CColourPalettePopup* popup = OpenPalette(dlg, id);
    ASSERT_NE(popup, nullptr);
    Hover(popup, cell);
    QTest::keyClick(popup, Qt::Key_Return);
}

class TextDlgTest : public ::testing::Test
{
protected:
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
};

TEST_F(TextDlgTest, MakesTheSamePictureAsTheLabelMaker)
{
    struct TCase
    {
        const char* what;
        std::function<void(QWidget&)> work;
        TLabel expected;
    };
    const auto label = [](const char* text, const std::function<void(TLabel&)>& change)
    {
        TLabel made;
        made.text.text = text;
        change(made);
        return made;
    };
    const uint32_t red = CColourPalettePopup::ColourAt(16);
    const uint32_t blue = CColourPalettePopup::ColourAt(13);
    const std::vector<TCase> cases{
        {"as it opens", [](QWidget& d) { TypeLines(&d, {"Lobby"}); }, label("Lobby", [](TLabel&) {})},
        {"two lines, bold and large, on a colour, left",
         [&](QWidget& d)
         {
             TypeLines(&d, {"Lights", "on"});
             Type(&d, D::kSize, QStringLiteral("24"));
             Click(&d, D::kBold);
             PickColour(&d, D::kColour, 16);
             Click(&d, D::kBackground);
             PickColour(&d, D::kBackColour, 13);
             Click(&d, D::kLeft);
         },
         label("Lights\non",
               [&](TLabel& l)
               {
                   l.text.size = 24;
                   l.text.bold = true;
                   l.colour = red;
                   l.background = TUserFace{kFaceColour, kColourSingle, 0, blue, 0};
                   l.text.align = ETextAlign::Left;
               })},
        {"on a gradient from top to bottom",
         [&](QWidget& d)
         {
             TypeLines(&d, {"Music"});
             Click(&d, D::kBackground);
             EXPECT_FALSE(DlgItem<QWidget>(&d, D::kBackColour2)->isEnabled()) << "one colour needs no second";
             QComboBox* mode = Combo(&d, D::kBackMode);
             mode->setCurrentIndex(mode->findText(QStringLiteral("Gradient Top to Bottom")));
             EXPECT_TRUE(DlgItem<QWidget>(&d, D::kBackColour2)->isEnabled());
             PickColour(&d, D::kBackColour, 13);
             PickColour(&d, D::kBackColour2, 16);
         },
         label("Music",
               [&](TLabel& l) { l.background = TUserFace{kFaceColour, kColourTopToBottom, 0, blue, red}; })},
        {"a size of its own, a family, right",
         [](QWidget& d)
         {
             TypeLines(&d, {"Exit"});
             Combo(&d, D::kFont)->setEditText(QStringLiteral("DejaVu Serif"));
             Click(&d, D::kRight);
             Click(&d, D::kAutoSize);
             Type(&d, D::kWidth, QStringLiteral("120"));
             Type(&d, D::kHeight, QStringLiteral("40"));
         },
         label("Exit",
               [](TLabel& l)
               {
                   l.text.family = "DejaVu Serif";
                   l.text.align = ETextAlign::Right;
                   l.text.width = 120;
                   l.text.height = 40;
               })},
    };
    for (const TCase& c : cases)
    {
        D dlg(TLabel{});
        c.work(dlg);
        Click(&dlg, D::kOk);
        ASSERT_EQ(dlg.result(), QDialog::Accepted) << c.what;
        const std::unique_ptr<CImageBuffer> shown = dlg.TakePicture();
        ASSERT_NE(shown, nullptr) << c.what;
        CImageBuffer made;
        std::string error;
        ASSERT_TRUE(MakeLabelPicture(c.expected, made, error)) << error;
        EXPECT_EQ(shown->GetWidth(), made.GetWidth()) << c.what;
        EXPECT_EQ(shown->GetHeight(), made.GetHeight()) << c.what;
        EXPECT_EQ(shown->Data().bits, made.Data().bits) << c.what;
        EXPECT_EQ(shown->Data().alpha, made.Data().alpha) << c.what;
        EXPECT_EQ(Caption(&dlg, D::kPictureSize),
                  QStringLiteral("%1 \u00D7 %2 pixels").arg(made.GetWidth()).arg(made.GetHeight()));
    }
}

// A label made before opens with its gradient, and gives it back unchanged.
TEST_F(TextDlgTest, OpensWithTheLabelsGradient)
{
    TLabel label;
    label.text.text = "Zone 2";
    label.background = TUserFace{kFaceColour, kColourRadial, 0, 0x102030, 0x405060};
    D dlg(label);
    EXPECT_EQ(Combo(&dlg, D::kBackMode)->currentData().toInt(), kColourRadial);
    EXPECT_TRUE(DlgItem<QWidget>(&dlg, D::kBackColour2)->isEnabled());
    EXPECT_EQ(dlg.Label().background, label.background);
}

TEST_F(TextDlgTest, NoPictureWithoutTextOrWithABadSize)
{
    D dlg(TLabel{});
    EXPECT_FALSE(Button(&dlg, D::kOk)->isEnabled()) << "nothing typed yet";
    TypeLines(&dlg, {"Hi"});
    EXPECT_TRUE(Button(&dlg, D::kOk)->isEnabled());
    Type(&dlg, D::kSize, QStringLiteral("500"));
    EXPECT_FALSE(Button(&dlg, D::kOk)->isEnabled());
    EXPECT_FALSE(DlgItem<QLabel>(&dlg, D::kProblem)->toolTip().isEmpty()) << "says why";
    Click(&dlg, D::kCancel);
    EXPECT_EQ(dlg.TakePicture(), nullptr);
}

TEST_F(TextDlgTest, AddImageTakesTheTextPictureAsAFileAndOffersItsText)
{
    TLayout layout;
    CLayoutHistory history(layout);
    m_ui.dialogAnswers.push_back(
        [](QDialog& add)
        {
            Click(&add, CAddImageDlg::kText);
            Click(&add, CAddImageDlg::kOk);
        });
    m_ui.dialogAnswers.push_back(
        [](QDialog& text)
        {
            TypeLines(&text, {"Main", "hall"});
            Click(&text, D::kOk);
        });
    TImageEntry* entry = RunAddImage(nullptr, layout);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, u"Main hall");
    ASSERT_NE(entry->image, nullptr);
    TLabel expected;
    expected.text.text = "Main\nhall";
    CImageBuffer made;
    std::string error;
    ASSERT_TRUE(MakeLabelPicture(expected, made, error)) << error;
    EXPECT_EQ(entry->image->Data().bits, made.Data().bits);
    EXPECT_EQ(m_ui.dialogsShown, QStringList({QStringLiteral("Add Image"), QStringLiteral("Text")}));
}

} // namespace
