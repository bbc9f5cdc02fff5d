#include "DialogTemplate.h"
#include "ScriptedUiServices.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

// Two radio groups, a frame and an edit between them, OK and Cancel.
const TDlgTemplate& TwoGroups()
{
    static const TDlgTemplate tmpl{
        900,
        QStringLiteral("Two groups"),
        200,
        120,
        {
            {101, EControlKind::RadioButton, QStringLiteral("A1"), 5, 5, 40, 10, kStyleGroup},
            {102, EControlKind::RadioButton, QStringLiteral("A2"), 5, 20, 40, 10},
            {110, EControlKind::Edit, {}, 50, 5, 40, 14},
            {103, EControlKind::RadioButton, QStringLiteral("A3"), 5, 35, 40, 10},
            {201, EControlKind::RadioButton, QStringLiteral("B1"), 100, 5, 40, 10, kStyleGroup},
            {202, EControlKind::RadioButton, QStringLiteral("B2"), 100, 20, 40, 10},
            {300, EControlKind::GroupBox, {}, 5, 50, 100, 50, kStyleGroup},
            {1, EControlKind::DefButton, QStringLiteral("OK"), 120, 80, 30, 14},
            {2, EControlKind::Button, QStringLiteral("Cancel"), 155, 80, 30, 14},
        },
    };
    return tmpl;
}

class DialogTemplate : public ::testing::Test
{
protected:
    DialogTemplate() { BuildDialog(&m_dialog, TwoGroups()); }

    QDialog m_dialog;
};

TEST_F(DialogTemplate, RadioGroupsFollowTheTemplateNotTheParent)
{
    QTest::mouseClick(DlgItem<QRadioButton>(&m_dialog, 101), Qt::LeftButton);
    QTest::mouseClick(DlgItem<QRadioButton>(&m_dialog, 202), Qt::LeftButton);
    EXPECT_TRUE(IsChecked(&m_dialog, 101)) << "a click in the second group leaves the first alone";
    EXPECT_TRUE(IsChecked(&m_dialog, 202));

    // The edit between A2 and A3 does not end the group.
    QTest::mouseClick(DlgItem<QRadioButton>(&m_dialog, 103), Qt::LeftButton);
    EXPECT_FALSE(IsChecked(&m_dialog, 101));
    EXPECT_TRUE(IsChecked(&m_dialog, 103));
    EXPECT_TRUE(IsChecked(&m_dialog, 202));

    SetRadioChecked(&m_dialog, 103, false);
    EXPECT_FALSE(IsChecked(&m_dialog, 101) || IsChecked(&m_dialog, 102) || IsChecked(&m_dialog, 103))
        << "a group can be left with none checked";
    QTest::mouseClick(DlgItem<QRadioButton>(&m_dialog, 102), Qt::LeftButton);
    EXPECT_TRUE(IsChecked(&m_dialog, 102)) << "and is exclusive again afterwards";
    SetRadioChecked(&m_dialog, 101, true);
    EXPECT_FALSE(IsChecked(&m_dialog, 102));
}

TEST_F(DialogTemplate, HostedWidgetsSitOverOrInPlaceOfControls)
{
    const QRect frame = ControlRect(&m_dialog, 300);
    auto* over = PlaceOverControl(&m_dialog, 300, new QWidget, QMargins(3, 12, 0, 0), 1234);
    EXPECT_EQ(over->geometry(),
              QRect(frame.left() + 3, frame.top() + 12, frame.width() - 3, frame.height() - 12));
    EXPECT_EQ(DlgItem<QWidget>(&m_dialog, 1234), over);
    EXPECT_NE(DlgItem<QWidget>(&m_dialog, 300), nullptr) << "the frame stays";

    const QRect edit = ControlRect(&m_dialog, 110);
    DlgItem<QLineEdit>(&m_dialog, 110)->setEnabled(false);
    auto* replacement = ReplaceControl(&m_dialog, 110, new QPushButton);
    EXPECT_EQ(DlgItem<QPushButton>(&m_dialog, 110), replacement);
    EXPECT_EQ(DlgItem<QLineEdit>(&m_dialog, 110), nullptr);
    EXPECT_EQ(replacement->geometry(), edit);
    EXPECT_FALSE(replacement->isEnabled());
}

TEST(DialogTemplateLabels, AOneLineLabelGrowsToShowItsWholeText)
{
    static const TDlgTemplate tmpl{
        901,
        QStringLiteral("Labels"),
        200,
        60,
        {
            {401, EControlKind::Static, QStringLiteral("A label far wider than its place:"), 60, 5, 12, 8},
            {402, EControlKind::Static, QStringLiteral("Right-aligned and wide:"), 150, 20, 12, 8,
             kStyleRight},
            {403, EControlKind::Static, QStringLiteral("Fits"), 60, 35, 100, 8},
        },
    };
    QDialog dialog;
    const CDialogUnits units = BuildDialog(&dialog, tmpl);
    for (const TDlgControl& c : tmpl.controls)
    {
        const auto* label = DlgItem<QLabel>(&dialog, c.id);
        ASSERT_NE(label, nullptr);
        const QRect place = units.ToPixels(c.x, c.y, c.w, c.h);
        EXPECT_GE(label->width(), label->sizeHint().width()) << c.id;
        EXPECT_EQ(label->width(), std::max(place.width(), label->sizeHint().width())) << c.id;
        if (c.style & kStyleRight)
            EXPECT_EQ(label->geometry().right(), place.right()) << c.id;
        else
            EXPECT_EQ(label->x(), place.x()) << c.id;
        EXPECT_EQ(label->y(), place.y());
    }
}

TEST(UiServices, NestedDialogsAreAnsweredInTheOrderTheyOpen)
{
    CScriptedUiServices ui;
    CUiServicesOverride use(ui);

    QString innerText;
    ui.dialogAnswers.push_back(
        [](QDialog& outer)
        {
            // The outer dialog's button opens the inner dialog.
            QTest::mouseClick(DlgItem<QPushButton>(&outer, 1), Qt::LeftButton);
        });
    ui.dialogAnswers.push_back(
        [&](QDialog& inner)
        {
            DlgItem<QLineEdit>(&inner, 110)->setText(QStringLiteral("typed"));
            innerText = DlgItem<QLineEdit>(&inner, 110)->text();
            QTest::mouseClick(DlgItem<QPushButton>(&inner, 2), Qt::LeftButton);
        });

    QDialog outer;
    BuildDialog(&outer, TwoGroups());
    int innerResult = -1;
    QObject::connect(DlgItem<QPushButton>(&outer, 1), &QPushButton::clicked, &outer,
                     [&]
                     {
                         QDialog inner(&outer);
                         BuildDialog(&inner, TwoGroups());
                         innerResult = UiServices().ExecDialog(inner);
                     });
    EXPECT_EQ(UiServices().ExecDialog(outer), QDialog::Accepted);
    EXPECT_EQ(innerResult, QDialog::Rejected);
    EXPECT_EQ(innerText, QStringLiteral("typed"));
    EXPECT_EQ(ui.dialogsShown, QStringList({QStringLiteral("Two groups"), QStringLiteral("Two groups")}));

    // Without an answer a dialog is cancelled, as Esc would.
    QDialog unanswered;
    BuildDialog(&unanswered, TwoGroups());
    EXPECT_EQ(UiServices().ExecDialog(unanswered), QDialog::Rejected);
}

} // namespace

// A narrow list opens as wide as its longest entry; a list with an edit field
// shows a chosen entry from its start, not its end.
TEST(DialogTemplateLists, OpenAsWideAsTheirEntriesAndShowAChoiceFromItsStart)
{
    TDlgTemplate tmpl{1, QStringLiteral("Lists"), 200, 100, {}};
    tmpl.controls.push_back({1101, EControlKind::ComboBox, {}, 5, 5, 40, 60, kStyleNone});
    tmpl.controls.push_back({1102, EControlKind::ComboBox, {}, 5, 30, 40, 60, kStyleEditable});
    QDialog dialog;
    BuildDialog(&dialog, tmpl);
    dialog.show();
    const QString longEntry = QStringLiteral("Amplifier zone 12: main lounge and terrace speakers");
    for (const int id : {1101, 1102})
    {
        auto* combo = DlgItem<QComboBox>(&dialog, id);
        ASSERT_NE(combo, nullptr);
        combo->addItem(QStringLiteral("Short"));
        combo->addItem(longEntry);
        ASSERT_LT(combo->width(), combo->fontMetrics().horizontalAdvance(longEntry));
        combo->showPopup();
        QWidget* list = combo->view();
        EXPECT_GE(list->width(), combo->fontMetrics().horizontalAdvance(longEntry)) << id;
        combo->hidePopup();
    }
    auto* edit = DlgItem<QComboBox>(&dialog, 1102);
    edit->setCurrentIndex(1);
    EXPECT_EQ(edit->lineEdit()->text(), longEntry);
    EXPECT_EQ(edit->lineEdit()->cursorPosition(), 0);
    // A text that is no entry, as a typed port path set by the program.
    const QString path = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9X1B2C3-if00-port0");
    edit->setEditText(path);
    EXPECT_EQ(edit->lineEdit()->cursorPosition(), 0);
    // Typed by the person, the field is left alone until the focus goes.
    QApplication::setActiveWindow(&dialog);
    edit->setFocus();
    edit->lineEdit()->end(false);
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(edit->lineEdit()->cursorPosition(), path.size() + 1);
    DlgItem<QComboBox>(&dialog, 1101)->setFocus();
    EXPECT_EQ(edit->lineEdit()->cursorPosition(), 0);
}
