#include "EightButtonLook.h"

#include "Btn8Ctrl.h"
#include "PageDraw.h"
#include "PlainText.h"
#include "TextField.h"

namespace
{

constexpr int32_t kMargin = 8;
constexpr int32_t kRows = 4;
constexpr int32_t kColumnWidth = (kPageWidth - 3 * kMargin) / 2;
constexpr int32_t kRowHeight = (kPageHeight - (kRows + 1) * kMargin) / kRows;

constexpr TColor kBackground = Rgb(36, 38, 42);
constexpr TColor kEdge = Rgb(110, 114, 120);
constexpr TColor kFace = Rgb(214, 216, 220);
constexpr TColor kPressedFace = Rgb(92, 96, 104);
constexpr TColor kName = Rgb(20, 20, 20);
constexpr TColor kPressedName = Rgb(255, 255, 255);

} // namespace

TRect EightButtonRect(int index)
{
    if (index < 0 || index >= CBtn8Ctrl::kButtons)
        return {};
    const int32_t left = kMargin + (index / kRows) * (kColumnWidth + kMargin);
    const int32_t top = kMargin + (index % kRows) * (kRowHeight + kMargin);
    return {left, top, left + kColumnWidth, top + kRowHeight};
}

int EightButtonAt(int32_t x, int32_t y)
{
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i)
        if (EightButtonRect(i).Contains(x, y))
            return i;
    return -1;
}

void PaintEightButtonPage(const CBtn8Ctrl& page, CPlainText& text, CRaster& dc, int pressed)
{
    dc.SaveState();
    dc.IntersectClip(TRect{0, 0, kPageWidth, kPageHeight});
    dc.FillRect(dc.GetClip(), kBackground);
    dc.SetPen(EPenStyle::Solid, kEdge);
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i)
    {
        const TRect r = EightButtonRect(i);
        const bool down = i == pressed;
        dc.SetBrush(down ? kPressedFace : kFace);
        dc.Rectangle(r.left, r.top, r.right, r.bottom);
        const TRect inside{r.left + 4, r.top + 1, r.right - 4, r.bottom - 1};
        text.DrawCentred(dc, inside, TextFieldToWide(page.names[static_cast<size_t>(i)]),
                         down ? kPressedName : kName);
    }
    dc.RestoreState();
}
