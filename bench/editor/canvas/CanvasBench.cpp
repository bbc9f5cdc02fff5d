#include "BenchInput.h"
#include "BusyPage.h"
#include "CanvasZoom.h"
#include "Layout.h"
#include "QELProg.h"
#include "QelWnd.h"
#include "UserHotspot.h"
#include "UserPage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include <benchmark/benchmark.h>

// One mouse move of a drag across the busy page (60 objects), with the whole
// canvas painted again as it is after every move.
static void BM_CanvasDragMove(benchmark::State& state)
{
    TLayout layout;
    TUserObject* selected = nullptr;
    TUserPage* page = MakeBusyPage(layout, &selected);
    CQelWnd canvas(layout, *page);
    canvas.resize(320, 240);
    ShowExposed(canvas);
    canvas.SetSelected(selected);
    const QPoint start(selected->left + 2, selected->top + 2);
    SendMouse(canvas, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state)
    {
        // To and fro across the page, so the object stays on it.
        const int offset = (step++ % 100) - 50;
        SendMouse(canvas, QEvent::MouseMove, start + QPoint(offset, offset / 2), Qt::NoButton,
                  Qt::LeftButton);
        canvas.repaint();
    }
    SendMouse(canvas, QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_CanvasDragMove)->Unit(benchmark::kMillisecond);

// One mouse move of a drag of every object on the busy page at once,
// selected by rubber bands, at 4x zoom with snapping to the screen and a
// 10-pixel grid, the canvas painted again after every move.
static void BM_CanvasMoveSelection(benchmark::State& state)
{
    TLayout layout;
    TUserObject* selected = nullptr;
    TUserPage* page = MakeBusyPage(layout, &selected);
    // Sixty objects: the busy page's and a row of small hot spots.
    for (int32_t i = 0; page->objects.size() < 60; ++i)
    {
        auto spot = std::make_unique<TUserHotspot>();
        spot->SetRect({4 + 12 * (i % 26), 228 - 12 * (i / 26), 8, 8});
        page->AppendObject(std::move(spot));
    }
    CQelWnd canvas(layout, *page);
    canvas.SetZoom(4);
    canvas.SetGrid(10);
    ShowExposed(canvas);
    const auto send = [&canvas](QEvent::Type type, QPoint panel, Qt::MouseButton button,
                                Qt::MouseButtons held, Qt::KeyboardModifiers modifiers)
    {
        const QPoint at = canvas.ToWidget(panel) + QPoint(2, 2);
        QMouseEvent event(type, QPointF(at), QPointF(canvas.mapToGlobal(at)), button, held, modifiers);
        QApplication::sendEvent(&canvas, &event);
    };
    // Shift bands from an empty place to each corner of the screen take all.
    QPoint empty;
    for (int y = 0; y < 240 && empty.isNull(); ++y)
        for (int x = 0; x < 320; ++x)
            if (page->ObjectAt(x, y) == nullptr)
            {
                empty = QPoint(x, y);
                break;
            }
    for (const QPoint corner : {QPoint(0, 0), QPoint(319, 0), QPoint(0, 239), QPoint(319, 239)})
    {
        send(QEvent::MouseButtonPress, empty, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
        send(QEvent::MouseMove, corner, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
        send(QEvent::MouseButtonRelease, corner, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    }
    if (canvas.Selection().size() != page->objects.size())
        state.SkipWithError("the rubber bands did not select every object");
    state.counters["objects"] = static_cast<double>(canvas.Selection().size());
    const QPoint start(selected->left + 2, selected->top + 2);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    int step = 0;
    for (auto _ : state)
    {
        const int offset = (step++ % 40) - 20;
        send(QEvent::MouseMove, start + QPoint(offset, offset / 2), Qt::NoButton, Qt::LeftButton,
             Qt::NoModifier);
        canvas.repaint();
    }
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    SetCanvasGrid(0);
}
BENCHMARK(BM_CanvasMoveSelection)->Unit(benchmark::kMillisecond);

// Opening the programming dialog on a layout of 200 pages until it has been
// painted once.
static void BM_OpenProgrammingDialog(benchmark::State& state)
{
    TLayout layout;
    for (int i = 0; i < 200; ++i)
        layout.pages.InsertPage(std::make_unique<TUserPage>(
            u"Page " + std::u16string(1, char16_t(u'A' + i % 26)), layout.pages.NextPageId()));
    for (auto _ : state)
    {
        CQELProg dlg(layout);
        ShowExposed(dlg);
        dlg.repaint();
        benchmark::DoNotOptimize(&dlg);
    }
}
BENCHMARK(BM_OpenProgrammingDialog)->Unit(benchmark::kMillisecond);
