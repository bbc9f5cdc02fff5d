#include "ShotScenes.h"

#include "HotspotDlg.h"
#include "UserPage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

CShotStage::CShotStage() : m_use(std::make_unique<CUiServicesOverride>(ui))
{
    for (const char16_t* name : {u"Lobby", u"Bar", u"Kitchen", u"Terrace", u"Conference Room"})
        layout.pages.InsertPage(std::make_unique<TUserPage>(name, layout.pages.NextPageId()));
}

CShotStage::~CShotStage()
{
    windows.clear();
}

QWidget* CShotStage::Show(std::unique_ptr<QWidget> window)
{
    QWidget* w = window.get();
    windows.push_back(std::move(window));
    w->show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    w->move(screen.center() - w->rect().center());
    return w;
}

const std::vector<TShotScene>& ShotScenes()
{
    static const std::vector<TShotScene> scenes{
        {"hotspot",
         [](CShotStage& stage) -> QWidget*
         { return stage.Show(std::make_unique<CHotspotDlg>(&stage.layout, 10002, 10000)); }},
    };
    return scenes;
}
