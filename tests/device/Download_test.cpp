#include "LinkFixture.h"

namespace
{

class CMessageLog : public IMessageSink
{
public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

std::vector<uint8_t> Truncated(std::vector<uint8_t> v, size_t drop)
{
    v.resize(v.size() - drop);
    return v;
}

} // namespace

class Download : public LinkTest
{
protected:
    // The loader stands in for the layout document: it keeps what it is given.
    TLayoutLoader Loader(bool accept = true)
    {
        return [this, accept](const uint8_t* bytes, int32_t n) {
            ++loads;
            loaded.assign(bytes, bytes + n);
            return accept;
        };
    }

    std::vector<uint8_t> image = Pattern(2037, 9);
    std::vector<uint8_t> loaded;
    int loads = 0;
};

TEST_F(Download, ConnectReadsBlocksOfThePanelsSizesInOrder)
{
    panel.ServeImage(image, {1000, 1000, 37});
    CMessageLog messages;
    const TLinkResult r = link->Connect("/dev/ttyTEST", progress, Loader(), &messages);

    EXPECT_EQ(r.outcome, ELinkOutcome::Ok);
    EXPECT_EQ(r.message, "Downloaded layout from control\r\n");
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{"Connected Succesfully\r\nHardware Version: 3\r\nFirmware Version: 201\r\n"}));
    EXPECT_TRUE(r.layoutLoaded && r.connected && r.uploadAllowed);
    EXPECT_EQ(r.firmwareVersion, 201);
    ASSERT_EQ(loads, 1);
    EXPECT_EQ(loaded, std::vector<uint8_t>(image.begin() + 4, image.end()));

    // The bar is set before each request, so it never reaches the end.
    EXPECT_TRUE(progress.reading);
    EXPECT_EQ(progress.positions, (std::vector<int32_t>{0, 490, 981}));
    EXPECT_EQ(progress.ended, 1);

    EXPECT_EQ(Sent(), (std::vector<std::string>{"$QPW\r\n", "%reqinfo\n", "%highbaud\n", "%reqlayout\n",
                                                "%reqblock 0\n", "%reqblock 1\n", "%reqblock 2\n", "%lowbaud\n"}));
    const auto& w = line->Writes();
    EXPECT_EQ(w[2].baud, 9600u);
    EXPECT_EQ(w[3].baud, 115200u);
    EXPECT_EQ(w[3].time - w[2].time, 800u);
    EXPECT_EQ(w[7].baud, 115200u);
    EXPECT_EQ(w[7].time - w[6].time, 20u + 2u);  // the last block's arrival, then 20 ms
    EXPECT_EQ(clock.NowMs() - w[7].time, 100u);
    EXPECT_EQ(line->Baud(), 9600u);
}

TEST_F(Download, UploadIsAllowedFromFirmware201Only)
{
    struct
    {
        int32_t firmware;
        const char* layoutReply;  // not "%return": nothing is downloaded
        bool allowed;
    } const cases[] = {{200, nullptr, false}, {201, nullptr, true}, {200, "%error\r\n", false}, {201, "%error\r\n", true}};
    for (const auto& c : cases)
    {
        panel.ServeImage(image, {1000, 1000, 37});
        if (c.layoutReply != nullptr)
            panel.layoutReply = c.layoutReply;
        OpenLink();
        loads = 0;
        const TLinkResult r = link->RunLayoutDownload(c.firmware, progress, Loader());
        EXPECT_EQ(r.uploadAllowed, c.allowed) << c.firmware;
        EXPECT_EQ(loads, c.layoutReply ? 0 : 1);
        EXPECT_EQ(r.outcome, c.layoutReply ? ELinkOutcome::NoLayout : ELinkOutcome::Ok);
        // Skipping the download says nothing: the versions stay in the pane.
        EXPECT_EQ(r.message, c.layoutReply ? "" : "Downloaded layout from control\r\n");
        EXPECT_EQ(line->Writes().back().Text(), "%lowbaud\n");
        EXPECT_EQ(line->Baud(), 9600u);
        panel.blocks.clear();
    }
}

TEST_F(Download, BadBlocksAreRequestedAgainAndLandAtTheirOffset)
{
    const std::vector<uint8_t> t1500 = Pattern(1500, 3);
    const uint8_t* p = t1500.data();
    panel.layoutReply = "%return 1500 0\r\n";
    panel.blocks = {
        BlockReply(p, 1000, 1000),
        BlockReply(p + 1000, 400, 400, true),                                 // CRC-32 wrong
        Truncated(BlockReply(p + 1000, 400, 400), 10),                        // short
        Truncated(BlockReply(p + 1000, 400, 400), 402),                       // CRC-32 short, no data
        BlockReply(Pattern(1000).data(), 1000, 1000),                         // would run past T
        BlockReply(p + 1000, 300, 300),
        BlockReply(p + 1300, 200, 200),
    };
    OpenLink();
    const TLinkResult r = link->RunLayoutDownload(201, progress, Loader());
    EXPECT_EQ(r.outcome, ELinkOutcome::Ok);
    EXPECT_EQ(panel.requested, (std::vector<int>{0, 1, 1, 1, 1, 1, 2}));
    EXPECT_EQ(loaded, std::vector<uint8_t>(t1500.begin() + 4, t1500.end()));
}

TEST_F(Download, BadLengthDiscardsTheNextReplyWindowThenAsksAgain)
{
    const std::vector<uint8_t> t900 = Pattern(900, 5);
    panel.layoutReply = "%return 900 0\r\n";
    for (int32_t bad : {0, -1, 1001, 5000})
    {
        std::vector<uint8_t> reply = BlockReply(t900.data(), 60, bad);  // header, then 60 stray bytes
        panel.blocks.push_back(reply);
    }
    panel.blocks.push_back(BlockReply(t900.data(), 900, 900));
    OpenLink();
    const TLinkResult r = link->RunLayoutDownload(201, progress, Loader());
    EXPECT_EQ(r.outcome, ELinkOutcome::Ok);
    EXPECT_EQ(panel.requested, (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(loaded, std::vector<uint8_t>(t900.begin() + 4, t900.end()));
    EXPECT_GE(Elapsed(), 4u * 500u);
}

// A header announcing no bytes is a bad block, asked for again after one
// reply window, not a silent panel waited out for ten seconds.
TEST_F(Download, AZeroLengthBlockIsABadBlock)
{
    const std::vector<uint8_t> t900 = Pattern(900, 4);
    panel.layoutReply = "%return 900 0\r\n";
    panel.blocks = {BlockReply(t900.data(), 0, 0), BlockReply(t900.data(), 0, 0),
                    BlockReply(t900.data(), 900, 900)};
    OpenLink();
    const TLinkResult r = link->RunLayoutDownload(201, progress, Loader());
    EXPECT_EQ(r.outcome, ELinkOutcome::Ok);
    EXPECT_EQ(panel.requested, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(loaded, std::vector<uint8_t>(t900.begin() + 4, t900.end()));
    EXPECT_LE(Elapsed(), 100u + 700 + 500 + 3 * 510 + 20 + 100);
}

TEST_F(Download, EveryBoundEndsWithAMessageAndTheDocumentUntouched)
{
    const std::string badSize = "Control reported no valid layout size\r\nLayout not downloaded\r\n";
    const std::string noReply = "No response from control\r\nLayout not downloaded\r\n";
    const std::vector<uint8_t> t1500 = Pattern(1500, 3);
    struct TCase
    {
        const char* name;
        std::string layoutReply;
        std::vector<std::vector<uint8_t>> blocks;
        bool loaderAccepts;
        std::string message;
        bool began;
    };
    std::vector<std::vector<uint8_t>> alwaysCorrupt(12, BlockReply(t1500.data(), 1000, 1000, true));
    std::vector<std::vector<uint8_t>> alwaysTooLong{BlockReply(t1500.data(), 1000, 1000)};
    for (int i = 0; i < 12; ++i)
        alwaysTooLong.push_back(BlockReply(t1500.data(), 1000, 1000));
    const TCase cases[] = {
        {"T below 4", "%return 3 0\r\n", {}, true, badSize, false},
        {"T negative", "%return -20 0\r\n", {}, true, badSize, false},
        {"T over 1 MiB", "%return 1048577 0\r\n", {}, true, badSize, false},
        {"no T", "%return\r\n", {}, true, badSize, false},
        {"T not a number", "%return x 0\r\n", {}, true, badSize, false},
        // The size follows the reply's first word, not the seventh byte.
        {"T stuck to %return", "%return1500 0\r\n", {}, true, badSize, false},
        {"silent after %reqlayout", "", {}, true, noReply, false},
        {"corrupt every time", "%return 1500 0\r\n", alwaysCorrupt, true,
         "Could not read block 1\r\nLayout not downloaded\r\n", true},
        {"always past T", "%return 1500 0\r\n", alwaysTooLong, true,
         "Could not read block 2\r\nLayout not downloaded\r\n", true},
        {"silent after block 0", "%return 1500 0\r\n", {BlockReply(t1500.data(), 1000, 1000)}, true, noReply, true},
        {"not a layout", "%return 1500 0\r\n",
         {BlockReply(t1500.data(), 1000, 1000), BlockReply(t1500.data() + 1000, 500, 500)}, false,
         "Layout from control could not be read\r\nLayout unchanged\r\n", true},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        panel.layoutReply = c.layoutReply;
        panel.blocks.assign(c.blocks.begin(), c.blocks.end());
        panel.requested.clear();
        progress = CProgressLog();
        loads = 0;
        OpenLink();
        const TLinkResult r = link->RunLayoutDownload(201, progress, Loader(c.loaderAccepts));
        EXPECT_EQ(r.outcome, ELinkOutcome::Failed);
        EXPECT_EQ(r.message, c.message);
        EXPECT_FALSE(r.layoutLoaded);
        EXPECT_EQ(loads, c.loaderAccepts ? 0 : 1);
        EXPECT_TRUE(r.connected);
        EXPECT_TRUE(r.uploadAllowed);
        EXPECT_EQ(progress.begun, c.began ? 1 : 0);
        EXPECT_EQ(progress.ended, progress.begun);
        EXPECT_LE(panel.requested.size(), static_cast<size_t>(kMaxBlockAttempts + 1));
        EXPECT_EQ(line->Writes().back().Text(), "%lowbaud\n");
        EXPECT_EQ(line->Baud(), 9600u);
        // Nothing waits longer than the 20 empty windows and a few block timeouts.
        EXPECT_LE(Elapsed(), 40000u);
    }
}
