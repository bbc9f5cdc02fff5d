#include "LinkFixture.h"

using Cancel = LinkTest;

// A stop raised on the virtual clock in the middle of each kind of exchange:
// what was under way ends at the next read or block, a panel at 115200 baud
// is told "%lowbaud\n" and given its 100 ms, and the line is left at 9600 baud.
TEST_F(Cancel, AStopEndsTheExchangeBackAtLowSpeed)
{
    enum class EOp
    {
        Info,
        Download,
        Upload,
        Firmware,
    };
    struct TCase
    {
        const char* name;
        EOp op;
        uint64_t stopAt; // after the link was opened
        std::string message;
        bool wasAtHighSpeed;
        size_t records; // block records sent before the stop
    };
    // Upload: drain 500, 100 + 700 at the switch, then 505 ms a block; the stop
    // comes inside the third block's reply window.
    const TCase cases[] = {
        {"version request", EOp::Info, 300, "Cancelled\r\n", false, 0},
        {"download", EOp::Download, 100 + 700 + 250, "Cancelled\r\nLayout not downloaded\r\n", true, 0},
        {"upload", EOp::Upload, 500 + 100 + 700 + 2 * 505 + 250, "Cancelled\r\nLayout not uploaded\r\n", true,
         3},
        {"firmware", EOp::Firmware, 500 + 50 + 700 + 2 * 505 + 250, "Cancelled\r\nFirmware not updated\r\n",
         true, 3},
    };
    const std::vector<uint8_t> image = Pattern(4500);
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::atomic<bool> stop{false};
        link->SetCancelFlag(&stop);
        panel.records.clear();
        panel.ends.clear();
        panel.ServeImage(image, {1000, 1000, 1000, 1000, 500});
        OpenLink();
        line->CancelAt(start + c.stopAt, stop);
        const size_t writesBefore = line->Writes().size();
        int loads = 0;
        TLinkResult r;
        switch (c.op)
        {
        case EOp::Info:
            r = link->RequestInfo();
            break;
        case EOp::Download:
            r = link->RunLayoutDownload(201, progress,
                                        [&loads](const uint8_t*, int32_t) { return ++loads > 0; });
            break;
        case EOp::Upload:
            r = link->UploadLayout(image.data(), 4500, progress);
            break;
        case EOp::Firmware:
            r = link->UpgradeFirmware(image.data(), 4500, progress);
            break;
        }
        EXPECT_EQ(r.outcome, ELinkOutcome::Cancelled);
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(r.connected);
        EXPECT_EQ(loads, 0);
        EXPECT_EQ(panel.records.size(), c.records);
        EXPECT_TRUE(panel.ends.empty());
        EXPECT_EQ(progress.ended, progress.begun);
        EXPECT_EQ(line->Baud(), 9600u);
        const CScriptedLine::TWrite& last = line->Writes().back();
        if (c.wasAtHighSpeed)
        {
            EXPECT_EQ(last.Text(), "%lowbaud\n");
            EXPECT_EQ(last.baud, 115200u);
            // Told within a reply window of the stop, then its 100 ms before 9600 baud.
            EXPECT_LE(last.time, start + c.stopAt + kReplyWindowMs);
            EXPECT_EQ(clock.NowMs(), last.time + 100);
        }
        else
        {
            EXPECT_EQ(line->Writes().size(), writesBefore + 1); // "%reqinfo\n" alone
            EXPECT_LE(clock.NowMs(), start + c.stopAt + 1000);
        }
        // The flag cleared, the link serves the next request as before.
        stop = false;
        EXPECT_EQ(link->RequestInfo().outcome, ELinkOutcome::Ok);
        progress = CProgressLog();
    }
}
