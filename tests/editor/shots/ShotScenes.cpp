#include "ShotScenes.h"

#include "Btn8Ctrl.h"
#include "Btn8Dlg.h"
#include "EventDef.h"
#include "HotspotDlg.h"
#include "UserPage.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

CShotStage::CShotStage() : m_use(std::make_unique<CUiServicesOverride>(ui))
{
    for (const char16_t* name : {u"Lobby", u"Bar", u"Kitchen", u"Terrace", u"Conference Room"})
        layout.pages.InsertPage(std::make_unique<TUserPage>(name, layout.pages.NextPageId()));
    const char16_t* const events[][2] = {
        {u"Lights up", u"LIGHTS 100"},      {u"Lights down", u"LIGHTS 20"},   {u"Blinds open", u"BLINDS OPEN"},
        {u"Blinds closed", u"BLINDS CLOSE"}, {u"Music on", u"ZONE1 SOURCE 2"}, {u"Music off", u"ZONE1 OFF"},
        {u"Projector on", u"PROJ POWER 1"},  {u"Projector off", u"PROJ POWER 0"},
    };
    for (size_t i = 0; i < std::size(events); ++i)
    {
        layout.eventDescriptions[i] = MakeTextField(events[i][0]);
        layout.eventTexts[i] = MakeTextField(events[i][1]);
    }
}

CShotStage::~CShotStage()
{
    windows.clear();
}

QWidget* CShotStage::Show(std::unique_ptr<QWidget> window)
{
    QWidget* w = window.get();
    windows.push_back(std::move(window));
    // Placed before it is mapped, so that no earlier place leaves its
    // picture on the screen around it.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    w->move(screen.center() - w->rect().center());
    w->show();
    return w;
}

namespace
{

QWidget* ShowEightButtons(CShotStage& stage, bool warning)
{
    auto page = std::make_unique<CBtn8Ctrl>(u"8 Button");
    const char16_t* const buttons[][2] = {
        {u"Lights", u"LIGHTS TOGGLE"}, {u"Blinds", u"BLINDS TOGGLE"}, {u"Music", u"ZONE1 SOURCE 2"},
        {u"Volume +", u"ZONE1 VOL UP"}, {u"Volume -", u"ZONE1 VOL DOWN"}, {u"Mute", u"ZONE1 MUTE"},
    };
    for (size_t i = 0; i < std::size(buttons); ++i)
    {
        page->names[i] = MakeTextField(buttons[i][0]);
        page->texts[i] = MakeTextField(buttons[i][1]);
    }
    CBtn8Ctrl* entry = page.get();
    stage.layout.pages.InsertPage(std::move(page));
    auto* dlg = stage.Show(std::make_unique<CBtn8Dlg>(entry));
    if (warning)
        DlgItem<QLineEdit>(dlg, CBtn8Dlg::NameId(7))->setText(QStringLiteral("Caf\u00E9 \u2615"));
    return dlg;
}

} // namespace

const std::vector<TShotScene>& ShotScenes()
{
    static const std::vector<TShotScene> scenes{
        {"hotspot",
         [](CShotStage& stage) -> QWidget*
         { return stage.Show(std::make_unique<CHotspotDlg>(&stage.layout, 10002, 10000)); }},
        {"events-scrolled",
         [](CShotStage& stage) -> QWidget*
         {
             auto events = std::make_unique<CEventDef>(stage.layout);
             events->resize(events->DesignedSize() * 3 / 4);
             auto* dlg = static_cast<CEventDef*>(stage.Show(std::move(events)));
             // After showing: the first size change scrolls back to the origin.
             dlg->ScrollRequest(Qt::Vertical, CScrollDialog::EScroll::ThumbTrack, dlg->VerticalMaximum() / 2);
             return dlg;
         }},
        {"eight-button", [](CShotStage& stage) -> QWidget* { return ShowEightButtons(stage, false); }},
        // A name the code page cannot hold whole: the warning line shows.
        {"eight-button-warning", [](CShotStage& stage) -> QWidget* { return ShowEightButtons(stage, true); }},
    };
    return scenes;
}
