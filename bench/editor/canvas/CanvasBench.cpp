#include "BenchInput.h"
#include "BusyPage.h"
#include "Layout.h"
#include "QELProg.h"
#include "QelWnd.h"
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
