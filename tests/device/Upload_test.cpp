#include "LinkFixture.h"

#include <cstring>

using Outbound = LinkTest;

namespace
{

std::vector<std::string> Expected(int blocks, const char* endCommand)
{
    std::vector<std::string> v{"$QPW\r\n", "%highbaud\n"};
    for (int i = 0; i < blocks; ++i)
    {
        v.push_back("%binblock\n");
        v.push_back("<record>");
    }
    v.push_back(endCommand);
    v.push_back("<end>");
    v.push_back("%lowbaud\n");
    return v;
}

} // namespace

TEST_F(Outbound, ImagesTravelInAcknowledgedBlocksWithTheirPauses)
{
    struct
    {
        bool firmware;
        int32_t length;
        int blocks;
        std::vector<int32_t> positions;
        uint64_t elapsed;  // the drain, the pauses and one reply window per block and for the end record
    } const cases[] = {
        {false, 1500, 2, {666, 1333}, 500 + 100 + 700 + 2 * 505 + 5 + 10 + 500 + 20 + 100},
        {false, 2000, 3, {500, 1000, 1500}, 500 + 100 + 700 + 3 * 505 + 5 + 10 + 500 + 20 + 100},
        {true, 999, 1, {1001}, 500 + 50 + 700 + 1 * 505 + 5 + 5 + 500 + 0 + 100 + 100},
        {true, 1000, 2, {1000, 2000}, 500 + 50 + 700 + 2 * 505 + 5 + 5 + 500 + 0 + 100 + 100},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.length);
        CVirtualClock clock;
        auto owned = std::make_unique<CScriptedLine>(clock);
        CScriptedLine& line = *owned;
        CPanelLink link(std::move(owned), clock);
        CTestPanel panel;
        panel.Attach(line);
        CProgressLog progress;
        const std::vector<uint8_t> image = Pattern(static_cast<size_t>(c.length), 11);

        link.OpenSelectedPort("/dev/ttyTEST");
        const uint64_t t0 = clock.NowMs();
        const TLinkResult r = c.firmware ? link.UpgradeFirmware(image.data(), c.length, progress)
                                         : link.UploadLayout(image.data(), c.length, progress);
        EXPECT_EQ(r.outcome, ELinkOutcome::Ok);
        EXPECT_TRUE(r.endConfirmed);
        EXPECT_EQ(clock.NowMs() - t0, c.elapsed);
        EXPECT_EQ(progress.positions, c.positions);
        EXPECT_FALSE(progress.reading);
        EXPECT_EQ(progress.ended, 1);

        this->line = &line;
        EXPECT_EQ(Sent(), Expected(c.blocks, c.firmware ? "%endblock\n" : "%endlayout\n"));
        ASSERT_EQ(panel.records.size(), static_cast<size_t>(c.blocks));
        std::vector<uint8_t> received;
        for (int i = 0; i < c.blocks; ++i)
        {
            const TBlockRecord& rec = panel.records[static_cast<size_t>(i)];
            EXPECT_EQ(rec.index, i);
            EXPECT_EQ(rec.count, c.blocks);
            EXPECT_EQ(rec.crc, ComputeCrc32(rec.data.data(), rec.data.size()));
            received.insert(received.end(), rec.data.begin(), rec.data.end());
        }
        EXPECT_TRUE(std::equal(image.begin(), image.end(), received.begin()));
        EXPECT_TRUE(std::all_of(received.begin() + c.length, received.end(), [](uint8_t b) { return b == 0; }));
        ASSERT_EQ(panel.ends.size(), 1u);
        EXPECT_EQ(panel.ends[0].lastIndex, c.blocks - 1);
        EXPECT_EQ(panel.ends[0].length, c.length);
        EXPECT_EQ(panel.ends[0].crc, ComputeCrc32(image.data(), image.size()));

        const auto& w = line.Writes();
        EXPECT_EQ(w[1].baud, 9600u);
        EXPECT_EQ(w[2].baud, 115200u);
        EXPECT_EQ(w.back().baud, 115200u);
        if (c.firmware)
        {
            EXPECT_EQ(r.message, "Firmware updated\r\nControl will restart automaticaly\r\nDisconnected\r\n");
            EXPECT_FALSE(r.connected || link.IsConnected() || line.IsOpen());
        }
        else
        {
            EXPECT_EQ(r.message, "");
            EXPECT_TRUE(r.connected && r.uploadAllowed && line.IsOpen());
            EXPECT_EQ(line.Baud(), 9600u);
        }
    }
}

TEST_F(Outbound, OnlyTheExactAcknowledgementAcceptsABlock)
{
    const std::string junk(189, 'x');
    struct
    {
        const char* name;
        std::vector<CTestPanel::TChunk> firstReply;
        size_t sends;  // of block 0
    } const cases[] = {
        {"refused", {{"%return 1\r\n", 1}}, 2},
        {"no line end", {{"%return 0", 1}}, 2},
        {"one byte more", {{"%return 0\r\nX", 1}}, 2},
        {"a full window", {{"%return 0\r\n" + junk, 1}}, 2},
        // The rest of a split acknowledgement spoils the next reply too.
        {"split", {{"%return", 1}, {" 0\r\n", 600}}, 3},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        panel.records.clear();
        panel.acks = {c.firstReply};
        OpenLink();
        const std::vector<uint8_t> image = Pattern(1200);
        const TLinkResult r = link->UploadLayout(image.data(), 1200, progress);
        EXPECT_EQ(r.outcome, ELinkOutcome::Ok);
        ASSERT_EQ(panel.records.size(), c.sends + 1);
        for (size_t i = 0; i < c.sends; ++i)
        {
            EXPECT_EQ(panel.records[i].index, 0);
            EXPECT_EQ(panel.records[i].data, panel.records[0].data);
        }
        EXPECT_EQ(panel.records.back().index, 1);
    }
}

TEST_F(Outbound, RefusalsAndSilenceEndTheTransferBackAtLowSpeed)
{
    const std::vector<uint8_t> image = Pattern(1500);
    const std::vector<CTestPanel::TChunk> refusal{{"%return 1\r\n", 1}};
    struct
    {
        const char* name;
        bool firmware;
        int refusals;
        bool silent;
        ELinkOutcome outcome;
        std::string message;
    } const cases[] = {
        {"nine refusals", false, 9, false, ELinkOutcome::Ok, ""},
        {"ten refusals", false, 10, false, ELinkOutcome::Failed, "Control refused block 1 of 2\r\nLayout not uploaded\r\n"},
        {"ten refusals firmware", true, 10, false, ELinkOutcome::Failed,
         "Control refused block 1 of 2\r\nFirmware not updated\r\n"},
        {"silent", false, 0, true, ELinkOutcome::Failed,
         "No response from control after block 1 of 2\r\nLayout not uploaded\r\n"},
        {"silent firmware", true, 0, true, ELinkOutcome::Failed,
         "No response from control after block 1 of 2\r\nFirmware not updated\r\n"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        panel.records.clear();
        panel.ends.clear();
        panel.acks.assign(static_cast<size_t>(c.refusals), refusal);
        panel.silentToRecords = c.silent;
        OpenLink();
        const TLinkResult r = c.firmware ? link->UpgradeFirmware(image.data(), 1500, progress)
                                         : link->UploadLayout(image.data(), 1500, progress);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(r.connected && link->IsConnected());
        EXPECT_EQ(line->Writes().back().Text(), "%lowbaud\n");
        EXPECT_EQ(line->Baud(), 9600u);
        if (c.outcome == ELinkOutcome::Failed)
        {
            EXPECT_TRUE(panel.ends.empty());
            EXPECT_LE(panel.records.size(), static_cast<size_t>(kMaxBlockAttempts));
        }
        if (c.silent)
        {
            EXPECT_GE(Elapsed(), 10000u);
        }
        EXPECT_LE(Elapsed(), 12000u);
    }
}

TEST_F(Outbound, TheEndRecordsReplyIsNotJudged)
{
    for (const char* reply : {"%return 3\r\n", ""})
    {
        panel.endReply = reply;
        OpenLink();
        const std::vector<uint8_t> image = Pattern(10);
        const TLinkResult r = link->UploadLayout(image.data(), 10, progress);
        EXPECT_EQ(r.outcome, ELinkOutcome::Ok);
        EXPECT_EQ(r.message, "");
        EXPECT_FALSE(r.endConfirmed);
        EXPECT_EQ(line->Baud(), 9600u);
    }
}

TEST_F(Outbound, BadInputIsRefusedBeforeAnythingIsSent)
{
    const std::vector<uint8_t> image = Pattern(100);
    const std::string tooLarge = "Layout too large to upload\r\nNothing sent\r\n";
    OpenLink();
    const size_t before = line->Writes().size();
    EXPECT_EQ(link->UploadLayout(image.data(), -1, progress).message, tooLarge);
    EXPECT_EQ(link->UploadLayout(image.data(), kUploadBufferSize + 1, progress).message, tooLarge);
    EXPECT_EQ(link->UpgradeFirmware(image.data(), 0, progress).message, "Firmware file is empty\r\nNothing sent\r\n");
    const TLinkResult big = link->UpgradeFirmware(image.data(), kMaxFirmwareBytes + 1, progress);
    EXPECT_EQ(big.outcome, ELinkOutcome::Refused);
    EXPECT_EQ(big.message, "Firmware file larger than 16 MB\r\nNothing sent\r\n");
    EXPECT_TRUE(big.connected);
    EXPECT_EQ(line->Writes().size(), before);
    EXPECT_EQ(progress.begun, 0);

    link->Disconnect();
    EXPECT_EQ(link->UploadLayout(image.data(), 100, progress).outcome, ELinkOutcome::Refused);
    EXPECT_EQ(link->UpgradeFirmware(image.data(), 100, progress).message, "Not connected\r\nNothing sent\r\n");
}

TEST_F(Outbound, SerialFailureMidTransferEndsTheProgress)
{
    OpenLink();
    line->FailWritesFrom(static_cast<int>(line->Writes().size()) + 3);
    const std::vector<uint8_t> image = Pattern(3000);
    const TLinkResult r = link->UploadLayout(image.data(), 3000, progress);
    EXPECT_EQ(r.outcome, ELinkOutcome::SerialError);
    EXPECT_EQ(r.systemError, static_cast<uint32_t>(EIO));
    EXPECT_TRUE(r.connected);
    EXPECT_EQ(progress.begun, 1);
    EXPECT_EQ(progress.ended, 1);
}

TEST_F(Outbound, APortThatKeepsSendingIsLeftAloneAfterTenSeconds)
{
    // A byte every 200 ms: every 500 ms window brings some, none fills up.
    struct
    {
        const char* name;
        bool firmware;
        int bytes;
        ELinkOutcome outcome;
        std::string message;
    } const cases[] = {
        {"quiet in the 20th window", false, 47, ELinkOutcome::Ok, ""},
        {"never quiet", false, 1000, ELinkOutcome::Failed,
         "Control keeps sending data\r\nLayout not uploaded\r\n"},
        {"never quiet firmware", true, 1000, ELinkOutcome::Failed,
         "Control keeps sending data\r\nFirmware not updated\r\n"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CVirtualClock clock;
        auto owned = std::make_unique<CScriptedLine>(clock);
        CScriptedLine& line = *owned;
        CPanelLink link(std::move(owned), clock);
        CTestPanel panel;
        panel.Attach(line);
        link.OpenSelectedPort("/dev/ttyTEST");
        for (int i = 1; i <= c.bytes; ++i)
            line.Deliver(".", 200 * static_cast<uint32_t>(i));
        const uint64_t t0 = clock.NowMs();
        const std::vector<uint8_t> image = Pattern(1500);
        const TLinkResult r = c.firmware ? link.UpgradeFirmware(image.data(), 1500, progress)
                                         : link.UploadLayout(image.data(), 1500, progress);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.message, c.message);
        if (c.outcome == ELinkOutcome::Failed)
        {
            // Twenty windows, then nothing sent at all, still at 9600 baud.
            EXPECT_EQ(clock.NowMs() - t0, 20u * kReplyWindowMs);
            EXPECT_EQ(line.Texts(), std::vector<std::string>{"$QPW\r\n"});
            EXPECT_EQ(line.Baud(), 9600u);
            EXPECT_TRUE(r.connected && link.IsConnected() && line.IsOpen());
        }
        else
        {
            EXPECT_EQ(panel.records.size(), 2u);
            EXPECT_EQ(line.Writes()[1].time - t0, 20u * kReplyWindowMs);
        }
    }
}
