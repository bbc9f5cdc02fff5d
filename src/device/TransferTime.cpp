#include "TransferTime.h"

#include "BlockRecord.h"
#include "PanelLink.h"
#include "Pauses.h"

#include <string>

namespace
{

// Microseconds to send n bytes at a line speed.
int64_t LineUs(int64_t bytes, int64_t baud)
{
    return bytes * 10 * 1000000 / baud;
}

} // namespace

int64_t ExpectedUploadMs(int32_t length)
{
    // The tool writes without waiting for the bytes to leave, and each reply
    // window starts as the write returns: a block's 1022 bytes (under 90 ms
    // at 115200 baud) go out inside the window that waits for its
    // acknowledgement, which lasts its full 500 ms.
    const TBlockVariant& v = TBlockVariant::kLayout;
    const int64_t blocks = BlockCountFor(length);
    int64_t ms = kReplyWindowMs; // the drain waits out one quiet window
    ms += v.pauseAfterHighBaud + kSettleAfterHighBaudMs;
    ms += blocks * (kPauseBeforeRecordMs + kReplyWindowMs);
    ms += kPauseBeforeRecordMs + v.pauseAfterEndRecord + kReplyWindowMs;
    ms += v.pauseBeforeLowBaud + kPauseAfterLowBaudMs;
    return ms;
}

int64_t ExpectedDownloadMs(int32_t length)
{
    // The panel's copy carries 4 bytes of its own in front.
    const int64_t total = int64_t{length} + 4;
    const int64_t blocks = (total + kBlockDataSize - 1) / kBlockDataSize;
    int64_t us = 0;
    us += LineUs(10, 9600) + (kPauseAfterDownloadHighBaudMs + kSettleAfterHighBaudMs) * 1000;
    us += LineUs(11, 115200) + int64_t{kReplyWindowMs} * 1000; // the size comes in one window
    for (int64_t i = 0; i < blocks; ++i)
    {
        const int64_t request =
            static_cast<int64_t>(std::string("%reqblock " + std::to_string(i) + "\n").size());
        us += LineUs(request + TBlockReplyHeader::kSize, 115200);
    }
    us += LineUs(total, 115200);
    us += kPauseBeforeDownloadLowBaudMs * 1000 + LineUs(9, 115200) + kPauseAfterLowBaudMs * 1000;
    return (us + 999) / 1000;
}
