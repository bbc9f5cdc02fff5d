#include "PanelPreview.h"

#include "Btn8Ctrl.h"
#include "CanvasZoom.h"
#include "DialogDriver.h"
#include "Layout.h"
#include "QELProg.h"
#include "QelUserDlg.h"
#include "RasterView.h"
#include "ScriptedUiServices.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace
{

constexpr TColor kUp = Rgb(200, 0, 0);
constexpr TColor kDown = Rgb(0, 200, 0);

TUserFace Colour(TColor c)
{
    TUserFace face;
    face.type = kFaceColour;
    face.param = kColourSingle;
    face.colour1 = c;
    return face;
}

// The Lobby: a momentary button partly under a picture, a toggle, three
// selection buttons of group 1, a slider for "Speaker A" and three hot spots
// (to the Bar, to nowhere, to a page that is gone). The Bar leads back and
// on to the Kitchen, which leads back.
class PanelPreviewTest : public ::testing::Test
{
protected:
    enum EObject
    {
        kVolume,
        kLights,
        kSource1,
        kSource2,
        kSource3,
        kSpeaker,
    };

    PanelPreviewTest()
    {
        TUserPage& lobby = AddPage(u"Lobby");
        TUserPage& bar = AddPage(u"Bar");
        TUserPage& kitchen = AddPage(u"Kitchen");
        m_layout.defaultPage = lobby.id;
        PutButton(lobby, {10, 10, 40, 30}, u"VOL UP", u"VOL STOP");
        PutButton(lobby, {60, 10, 40, 30}, u"LIGHTS ON", u"LIGHTS OFF").toggle = true;
        for (int i = 0; i < 3; ++i)
        {
            const std::u16string n(1, char16_t(u'1' + i));
            TUserButton& b =
                PutButton(lobby, {110 + 50 * i, 10, 40, 30}, u"SRC " + n, i == 0 ? u"SRC 1 OFF" : u"");
            b.selectorId = 1;
            b.toggle = true;
        }
        auto& slider = Put<TUserLevel>(lobby, {270, 60, 45, 130});
        slider.controlId = 6;
        Put<TUserHotspot>(lobby, {10, 150, 60, 60}).targetPage = bar.id;
        Put<TUserHotspot>(lobby, {80, 150, 40, 40});
        Put<TUserHotspot>(lobby, {130, 150, 40, 40}).targetPage = 10099;
        // A picture over the volume button's corner: a finger there still reaches the button.
        Put<TUserImage>(lobby, {10, 10, 20, 10}).face = Colour(Rgb(0, 0, 200));
        Put<TUserHotspot>(bar, {0, 0, 100, 100}).targetPage = TUserHotspot::kReturnToPrevious;
        Put<TUserHotspot>(bar, {200, 0, 100, 100}).targetPage = kitchen.id;
        Put<TUserHotspot>(kitchen, {0, 0, 100, 100}).targetPage = TUserHotspot::kReturnToPrevious;
    }

    TUserPage& AddPage(const char16_t* name)
    {
        return static_cast<TUserPage&>(
            *m_layout.pages.InsertPage(std::make_unique<TUserPage>(name, m_layout.pages.NextPageId())));
    }
    template <typename T> T& Put(TUserPage& page, TObjectRect rect)
    {
        auto object = std::make_unique<T>();
        object->SetRect(rect);
        return static_cast<T&>(*page.AppendObject(std::move(object)));
    }
    TUserButton& PutButton(TUserPage& page, TObjectRect rect, const std::u16string& down,
                           const std::u16string& up)
    {
        auto& b = Put<TUserButton>(page, rect);
        b.upFace = Colour(kUp);
        b.downFace = Colour(kDown);
        b.downText = MakeTextField(down);
        b.upText = MakeTextField(up);
        return b;
    }
    TUserPage& Lobby() const { return static_cast<TUserPage&>(*m_layout.pages.At(0)); }

    // A finger on the screen at panel pixels.
    static void Tap(CPanelPreview& preview, QPoint at)
    {
        MousePress(preview.Screen(), preview.ToWidget(at));
        MouseRelease(preview.Screen(), preview.ToWidget(at));
    }
    static TColor Pixel(const CPanelPreview& preview, QPoint at)
    {
        return preview.Screen()->Render().GetPixel(at.x(), at.y());
    }
    static QString PageShown(const CPanelPreview& preview)
    {
        return QString::fromStdU16String(preview.Session().Page()->name);
    }
    // What the pane added since the last call.
    QStringList NewEvents(const CPanelPreview& preview)
    {
        const QStringList all = preview.EventTexts();
        const QStringList added = all.mid(m_seen);
        m_seen = static_cast<int>(all.size());
        return added;
    }

    TLayout m_layout;
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
    int m_seen = 0;
};

TEST_F(PanelPreviewTest, AButtonShowsItsDownFaceWhileHeldAtTheCanvasZoom)
{
    SetCanvasZoom(2);
    CPanelPreview preview(m_layout);
    SetCanvasZoom(kMinCanvasZoom);
    EXPECT_EQ(preview.Screen()->size(), QSize(640, 480));
    EXPECT_EQ(PageShown(preview), QStringLiteral("Lobby")) << "the default page";

    // Pressed through the picture over its corner.
    MousePress(preview.Screen(), preview.ToWidget({12, 12}));
    EXPECT_EQ(Pixel(preview, {40, 30}), kDown);
    EXPECT_EQ(NewEvents(preview), QStringList({"down \"VOL UP\""}));
    // Moving off the button keeps it held; lifting the finger anywhere lets it go.
    MouseMove(preview.Screen(), preview.ToWidget({200, 200}));
    EXPECT_EQ(Pixel(preview, {40, 30}), kDown);
    MouseRelease(preview.Screen(), preview.ToWidget({200, 200}));
    EXPECT_EQ(Pixel(preview, {40, 30}), kUp);
    EXPECT_EQ(NewEvents(preview), QStringList({"up \"VOL STOP\""}));
    // Each event with its time.
    const QStringList shown = ListEntries(&preview, CPanelPreview::kEvents);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d +up \"VOL STOP\"$"))
                    .match(shown[1])
                    .hasMatch())
        << shown[1].toStdString();
}

TEST_F(PanelPreviewTest, TogglesAndSelectionGroupsStayDown)
{
    CPanelPreview preview(m_layout);
    Tap(preview, {70, 20});
    EXPECT_EQ(Pixel(preview, {70, 20}), kDown);
    Tap(preview, {70, 20});
    EXPECT_EQ(Pixel(preview, {70, 20}), kUp);
    EXPECT_EQ(NewEvents(preview), QStringList({"down \"LIGHTS ON\"", "up \"LIGHTS OFF\""}));

    const QPoint sources[] = {{120, 20}, {170, 20}, {220, 20}};
    Tap(preview, sources[0]);
    Tap(preview, sources[1]);
    EXPECT_EQ(Pixel(preview, sources[0]), kUp);
    EXPECT_EQ(Pixel(preview, sources[1]), kDown);
    EXPECT_EQ(Pixel(preview, sources[2]), kUp);
    // Down again does nothing; the one released raised its up text.
    Tap(preview, sources[1]);
    EXPECT_EQ(Pixel(preview, sources[1]), kDown);
    EXPECT_EQ(NewEvents(preview), QStringList({"down \"SRC 1\"", "down \"SRC 2\"", "up \"SRC 1 OFF\""}));
    // A button of another group is left alone.
    static_cast<TUserButton&>(*Lobby().objects[kSource3]).selectorId = 0;
    Tap(preview, sources[2]);
    EXPECT_EQ(Pixel(preview, sources[1]), kDown);
    EXPECT_EQ(Pixel(preview, sources[2]), kDown);
}

TEST_F(PanelPreviewTest, HotSpotsSwitchPagesAndReturnToPreviousGoesBack)
{
    CPanelPreview preview(m_layout);
    Tap(preview, {70, 20});   // the lights on, to see the Lobby kept as it was left
    Tap(preview, {90, 160});  // no target
    Tap(preview, {140, 160}); // a page that is gone
    EXPECT_EQ(PageShown(preview), QStringLiteral("Lobby"));
    Tap(preview, {20, 160});
    EXPECT_EQ(PageShown(preview), QStringLiteral("Bar"));
    Tap(preview, {250, 50});
    EXPECT_EQ(PageShown(preview), QStringLiteral("Kitchen"));
    EXPECT_EQ(Caption(&preview, CPanelPreview::kPageName), QStringLiteral("Page 3 of 3: \"Kitchen\""));
    Tap(preview, {50, 50});
    EXPECT_EQ(PageShown(preview), QStringLiteral("Bar"));
    Tap(preview, {50, 50});
    EXPECT_EQ(PageShown(preview), QStringLiteral("Lobby"));
    EXPECT_EQ(Pixel(preview, {70, 20}), kDown);
    EXPECT_EQ(NewEvents(preview), QStringList({"down \"LIGHTS ON\"", "page \"Bar\"", "page \"Kitchen\"",
                                               "page \"Bar\"", "page \"Lobby\""}));

    // Started on the Bar, there is nothing to go back to.
    CPanelPreview bar(m_layout, m_layout.pages.At(1));
    Tap(bar, {50, 50});
    EXPECT_EQ(PageShown(bar), QStringLiteral("Bar"));
    EXPECT_TRUE(bar.EventTexts().isEmpty());
}

TEST_F(PanelPreviewTest, ASliderKnobFollowsTheDragWithinItsTrack)
{
    Lobby().face = Colour(Rgb(255, 255, 255));
    CPanelPreview preview(m_layout);
    const TUserObject& slider = *Lobby().objects[kSpeaker];
    CRasterView* screen = preview.Screen();
    // The knob's middle under the finger: 100 - 20 - 60 = 20 from the top.
    MousePress(screen, preview.ToWidget({292, 100}));
    EXPECT_EQ(preview.Session().LevelOf(slider), 96);
    MouseMove(screen, preview.ToWidget({292, 20}));
    EXPECT_EQ(preview.Session().LevelOf(slider), 100);
    const CRaster top = screen->Render();
    MouseMove(screen, preview.ToWidget({292, -300}));
    MouseMove(screen, preview.ToWidget({292, 400}));
    EXPECT_EQ(preview.Session().LevelOf(slider), 0);
    MouseRelease(screen, preview.ToWidget({292, 400}));
    MouseMove(screen, preview.ToWidget({292, 100}));
    EXPECT_EQ(preview.Session().LevelOf(slider), 0) << "a move without the finger down";
    EXPECT_EQ(NewEvents(preview),
              QStringList({"level \"Speaker A\" 96", "level \"Speaker A\" 100", "level \"Speaker A\" 0"}));

    // The knob drawn where it was left, its whole 46 rows between the 15-row
    // caps of the slider at 60: from row 60 + 15 at the top, to row
    // 60 + 130 - 15 at the bottom. The built-in knob is wider than the track,
    // so a column near its left edge shows only the knob's round middle, 21
    // rows into its 46.
    const CRaster bottom = screen->Render();
    const auto knobMiddle = [](const CRaster& r)
    {
        int32_t first = -1;
        int32_t last = -1;
        for (int32_t y = 0; y < kPageHeight; ++y)
            if (r.GetPixel(274, y) != Rgb(255, 255, 255))
                (first < 0 ? first : last) = y, last = y;
        return first < 0 ? -1 : (first + last) / 2;
    };
    EXPECT_EQ(knobMiddle(top), 60 + 15 + 21);
    EXPECT_EQ(knobMiddle(bottom), 60 + 130 - 15 - 46 + 21);
}

TEST_F(PanelPreviewTest, AnEightButtonPageShowsNamesAndRaisesItsEventTexts)
{
    auto page = std::make_unique<CBtn8Ctrl>(u"Scenes");
    page->names[0] = MakeTextField(u"Welcome");
    page->texts[0] = MakeTextField(u"SCENE 1");
    page->names[5] = MakeTextField(u"Silent");
    TListItem* scenes = m_layout.pages.InsertPage(std::move(page));

    CPanelPreview preview(m_layout, scenes);
    EXPECT_FALSE(DlgItem<QLabel>(&preview, CPanelPreview::kNote)->isHidden());
    const TColor before = Pixel(preview, {20, 20});
    MousePress(preview.Screen(), preview.ToWidget({20, 20}));
    EXPECT_NE(Pixel(preview, {20, 20}), before);
    MouseRelease(preview.Screen(), preview.ToWidget({20, 20}));
    EXPECT_EQ(Pixel(preview, {20, 20}), before);
    Tap(preview, {250, 100}); // button 6: a name, no event text
    EXPECT_EQ(NewEvents(preview), QStringList({"press \"SCENE 1\""}));

    CPanelPreview lobby(m_layout);
    EXPECT_TRUE(DlgItem<QLabel>(&lobby, CPanelPreview::kNote)->isHidden());
}

TEST_F(PanelPreviewTest, AFindingShowsItsPageWithTheObjectMarked)
{
    CPanelPreview preview(m_layout);
    const QStringList findings = ListEntries(&preview, CPanelPreview::kFindings);
    ASSERT_EQ(findings.size(), static_cast<qsizetype>(preview.Findings().size()));
    EXPECT_TRUE(findings.contains(
        "Error: page \"Lobby\": hot spot at 130,150 leads to page 10099, which does not exist"));
    EXPECT_TRUE(findings.contains("Warning: page \"Lobby\": hot spot at 80,150 leads nowhere"));
    EXPECT_EQ(Caption(&preview, CPanelPreview::kCheckTitle).left(16), QStringLiteral("Check: 1 error, "));

    // A finding of the Bar's from the Kitchen, with the Lobby's marks left behind.
    Put<TUserButton>(static_cast<TUserPage&>(*m_layout.pages.At(1)), {150, 150, 30, 30});
    CPanelPreview again(m_layout);
    auto* list = DlgItem<QListWidget>(&again, CPanelPreview::kFindings);
    const int row = static_cast<int>(ListEntries(&again, CPanelPreview::kFindings)
                                         .indexOf("Warning: page \"Bar\": button at 150,150 has a blank down "
                                                  "face and never looks pressed"));
    ASSERT_GE(row, 0);
    list->setCurrentRow(row);
    EXPECT_EQ(PageShown(again), QStringLiteral("Bar"));
    ASSERT_NE(again.Marked(), nullptr);
    EXPECT_EQ(again.Marked()->left, 150);
    EXPECT_EQ(Pixel(again, {149, 149}), Rgb(255, 255, 255)) << "the selection's corner handle";
    Tap(again, {250, 50});
    EXPECT_EQ(again.Marked(), nullptr) << "on another page";
}

TEST_F(PanelPreviewTest, TryOpensThePreviewFromTheProgrammingAndUserPageDialogs)
{
    QString shown;
    const auto record = [&shown](QDialog& d)
    {
        auto& preview = dynamic_cast<CPanelPreview&>(d);
        shown = QString::fromStdU16String(preview.Session().Page()->name) + u' ' +
                Caption(&preview, CPanelPreview::kPageName);
    };
    m_layout.defaultPage = m_layout.pages.At(1)->id;
    CQELProg prog(m_layout);
    m_ui.dialogAnswers.push_back(record);
    Click(&prog, CQELProg::kTry);
    EXPECT_EQ(shown, QStringLiteral("Bar Page 2 of 3: \"Bar\""));

    CQelUserDlg user(m_layout, static_cast<TUserPage&>(*m_layout.pages.At(2)));
    m_ui.dialogAnswers.push_back(record);
    Click(&user, CQelUserDlg::kTry);
    EXPECT_EQ(shown, QStringLiteral("Kitchen Page 3 of 3: \"Kitchen\""));

    // A new page before Save: tried and checked though not in the list yet.
    TUserPage unsaved(u"User Page", m_layout.pages.NextPageId());
    Put<TUserHotspot>(unsaved, {0, 0, 50, 50}).targetPage = m_layout.pages.At(0)->id;
    CQelUserDlg add(m_layout, unsaved);
    std::vector<std::string> findings;
    m_ui.dialogAnswers.push_back(
        [&](QDialog& d)
        {
            auto& preview = dynamic_cast<CPanelPreview&>(d);
            record(d);
            for (const TCheckFinding& f : preview.Findings())
                findings.push_back(DescribeFinding(f));
            Tap(preview, {10, 10});
        });
    Click(&add, CQelUserDlg::kTry);
    EXPECT_EQ(shown, QStringLiteral("User Page \"User Page\" (not in the layout until it is saved)"));
    EXPECT_NE(std::find(findings.begin(), findings.end(),
                        "page \"User Page\": no hot spot leads here from the default page"),
              findings.end());
    EXPECT_EQ(m_layout.pages.Size(), 3u);
    EXPECT_EQ(m_ui.dialogsShown.size(), 3u);
}

} // namespace
