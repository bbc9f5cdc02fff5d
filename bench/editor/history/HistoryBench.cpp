#include "BenchInput.h"
#include "BusyPage.h"
#include "FixedIterations.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "NearLimitLayout.h"
#include "LayoutEdits.h"
#include "PanelSettings.h"
#include "QelWnd.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserPage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace
{

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

// One of ten kinds of step, on page `i` of forty: drags, resizes, keys,
// properties, backgrounds, restacking, adding, deleting, renaming and the
// settings, as an installer's afternoon mixes them.
void OneStep(CLayoutHistory& history, TLayout& layout, int i)
{
    CLayoutEdits& edits = history.Edits();
    auto& page = static_cast<TUserPage&>(*layout.pages.At(static_cast<size_t>(i % 40)));
    const size_t index = static_cast<size_t>(i / 40) % page.objects.size();
    TUserObject& object = *page.objects[index];
    const TObjectRect before = object.Rect();
    // Each page sees every kind in turn; adds keep up with deletes.
    switch ((i + i / 40) % 10)
    {
    case 0:
    case 1:
        edits.MoveResize(page, index, {before.left + 3, before.top + 2, before.width + i % 2, before.height});
        edits.EndMoveResize(page, index, before, (i + i / 40) % 10 == 1);
        break;
    case 2:
        edits.Nudge(page, index, {before.left + 1, before.top, before.width, before.height});
        break;
    case 3:
    {
        std::unique_ptr<TUserObject> changed = object.Clone();
        static_cast<TUserButton&>(*changed).downText =
            MakeTextField(u"SCENE " + std::u16string(1, u'A' + i % 26));
        edits.Replace(page, index, std::move(changed));
        break;
    }
    case 4:
        edits.SetBackground(page, {kFaceColour, kColourRadial, 0, static_cast<uint32_t>(i) * 977u});
        break;
    case 5:
        edits.Restack(page, index, index == 0 ? page.objects.size() - 1 : 0);
        break;
    case 6:
    {
        auto button = std::make_unique<TUserButton>();
        button->SetRect({i % 300, i % 200, 40, 20});
        button->upFace = {kFaceImage, 10000 + i % 25};
        edits.Add(page, std::move(button));
        break;
    }
    case 7:
        edits.Delete(page, index);
        break;
    case 8:
        edits.RenamePage(page, u"Room " + std::u16string(1, u'A' + i % 26));
        break;
    default:
    {
        TPanelSettings settings = TPanelSettings::Of(layout);
        settings.sleepTimeout = i;
        edits.SetSettings(settings);
        break;
    }
    }
}

} // namespace

// A thousand steps on the layout near the template limit (25 pictures of
// 320 x 240, 40 pages of 20 buttons): the heap the history holds for them,
// and the time to undo all of them, which the benchmark times.
static void BM_UndoThousandSteps(benchmark::State& state)
{
    TLayout& layout = NearLimitLayout();
    const std::vector<uint8_t> start = layout.SaveToBytes();
    size_t held = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto history = std::make_unique<CLayoutHistory>(layout);
        const size_t before = HeapInUse();
        for (int i = 0; i < 1000; ++i)
            OneStep(*history, layout, i);
        held = HeapInUse() - before;
        state.ResumeTiming();
        while (history->CanUndo())
            history->Undo();
        state.PauseTiming();
        if (history->Stack().count() != 1000 || layout.SaveToBytes() != start)
            state.SkipWithError("the steps did not undo to the start");
        history.reset();
        state.ResumeTiming();
    }
    state.counters["steps"] = 1000;
    state.counters["stack_MB"] = static_cast<double>(held) / (1024.0 * 1024.0);
}
// The steps are made again, untimed, before each run: a fixed count keeps
// the benchmark from spending minutes on them.
BENCHMARK(BM_UndoThousandSteps)->Unit(benchmark::kMillisecond)->Iterations(FixedIterations(10));

// One mouse move of a drag across the busy page at 4x, with the whole
// 1280 x 960 canvas painted again as it is after every move.
static void BM_CanvasDragMoveAt4x(benchmark::State& state)
{
    TLayout layout;
    TUserObject* selected = nullptr;
    TUserPage* page = MakeBusyPage(layout, &selected);
    CLayoutHistory history(layout);
    CQelWnd canvas(history, *page);
    canvas.SetZoom(4);
    ShowExposed(canvas);
    canvas.SetSelected(selected);
    const QPoint start((selected->left + 2) * 4, (selected->top + 2) * 4);
    SendMouse(canvas, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state)
    {
        const int offset = ((step++ % 100) - 50) * 4;
        SendMouse(canvas, QEvent::MouseMove, start + QPoint(offset, offset / 2), Qt::NoButton,
                  Qt::LeftButton);
        canvas.repaint();
    }
    SendMouse(canvas, QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_CanvasDragMoveAt4x)->Unit(benchmark::kMillisecond);
