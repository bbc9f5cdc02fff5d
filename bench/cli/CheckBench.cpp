// qelctl check on a layout of 200 pages of 30 objects each (4 buttons, 6
// pictures, 6 sliders and 14 hot spots, just under the template limit), run
// as the command itself from reading the file to its last printed line,
// with one warning a page; and on the layout near the template limit with
// its 25 pictures (NearLimitLayout.h).
#include "Command.h"
#include "CommandRun.h"
#include "NearLimitLayout.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace
{

TLayout ManyPages()
{
    TLayout layout;
    constexpr int kPages = 200;
    for (int p = 0; p < kPages; ++p)
    {
        auto page = std::make_unique<TUserPage>(u"Page " + std::u16string(1, char16_t(u'A' + p % 26)) +
                                                    std::u16string(1, char16_t(u'a' + p / 26)),
                                                layout.pages.NextPageId());
        const auto place = [&](std::unique_ptr<TUserObject> o, int i) -> TUserObject&
        {
            o->SetRect({(i % 6) * 52, (i / 6) * 46, 45, 40});
            return *page->AppendObject(std::move(o));
        };
        int i = 0;
        for (int b = 0; b < 4; ++b)
        {
            auto button = std::make_unique<TUserButton>();
            button->upFace = {kFaceButton, 4};
            button->downFace = {kFaceColour, kColourTopToBottom, 0, 0x00FF8000, 0x00000080};
            place(std::move(button), i++);
        }
        for (int m = 0; m < 6; ++m)
        {
            auto image = std::make_unique<TUserImage>();
            image->face = {kFaceColour, kColourSingle, 0, 0x00404040};
            place(std::move(image), i++);
        }
        for (int s = 0; s < 6; ++s)
        {
            auto slider = std::make_unique<TUserLevel>();
            slider->controlId = s;
            place(std::move(slider), i++);
        }
        for (int h = 0; h < 14; ++h)
        {
            auto hotspot = std::make_unique<TUserHotspot>();
            // On to the next pages, back, and one without a target.
            hotspot->targetPage = h == 13  ? -1
                                  : h == 0 ? TUserHotspot::kReturnToPrevious
                                           : TPageList::kFirstId + (p + h) % kPages;
            place(std::move(hotspot), i++);
        }
        layout.pages.InsertPage(std::move(page));
    }
    return layout;
}

void BM_CheckCommand(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path path =
        fs::temp_directory_path() / ("qel-check-bench-" + std::to_string(::getpid()) + ".qel");
    TLayout layout = ManyPages();
    if (!SaveTemplateFile(layout, path.string()))
    {
        state.SkipWithError("the layout does not fit a template");
        return;
    }
    const int status = TimeCommand(state, "check", {path.string()});
    state.counters["template bytes"] = static_cast<double>(fs::file_size(path));
    state.counters["exit status"] = status;
    fs::remove(path);
}
BENCHMARK(BM_CheckCommand)->Unit(benchmark::kMillisecond);

void BM_CheckNearLimit(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path path = WriteBenchFile("check-near-limit", NearLimitTemplateFile());
    const int status = TimeCommand(state, "check", {path.string()});
    state.counters["template bytes"] = static_cast<double>(fs::file_size(path));
    state.counters["exit status"] = status;
    fs::remove(path);
}
BENCHMARK(BM_CheckNearLimit)->Unit(benchmark::kMillisecond);

} // namespace
