#include "BenchInput.h"
#include "BusyPage.h"
#include "Layout.h"
#include "NearLimitLayout.h"
#include "PanelPreview.h"
#include "RasterView.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserPage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include <benchmark/benchmark.h>

// A finger pressing a button of the busy page (60 objects) in the panel
// preview, to the screen painted again with the button's radial down face and
// the event listed; the release that follows is not counted.
static void BM_PreviewPressToRepaint(benchmark::State& state)
{
    TLayout layout;
    TUserObject* chosen = nullptr;
    TUserPage* page = MakeBusyPage(layout, &chosen);
    auto& button = dynamic_cast<TUserButton&>(*chosen);
    button.downFace = {kFaceColour, kColourRadial, 0, 0x00103050, 0x00F0E0A0};
    button.downText = MakeTextField(u"ZONE1 VOL UP");
    button.upText = MakeTextField(u"ZONE1 VOL STOP");
    CPanelPreview preview(layout, page);
    ShowExposed(preview);
    QWidget& screen = *preview.Screen();
    const QPoint at = preview.ToWidget(QPoint(button.left + 5, button.top + 5));
    for (auto _ : state)
    {
        SendMouse(screen, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        screen.repaint();
        state.PauseTiming();
        SendMouse(screen, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        screen.repaint();
        state.ResumeTiming();
    }
    state.counters["events listed"] = static_cast<double>(preview.EventTexts().size());
}
BENCHMARK(BM_PreviewPressToRepaint)->Unit(benchmark::kMillisecond);

// Opening the panel preview on the layout near the template limit, opened
// from its file (25 pictures): the check with the layout's size, and the
// window shown with its first page drawn.
static void BM_OpenPreviewNearLimit(benchmark::State& state)
{
    TLayout layout = LoadedNearLimitLayout();
    size_t findings = 0;
    for (auto _ : state)
    {
        CPanelPreview preview(layout);
        ShowExposed(preview);
        preview.Screen()->repaint();
        findings = preview.Findings().size();
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_OpenPreviewNearLimit)->Unit(benchmark::kMillisecond);
