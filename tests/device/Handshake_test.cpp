#include "LinkFixture.h"

using Handshake = LinkTest;

TEST_F(Handshake, RepliesToTheVersionRequest)
{
    const std::string noResponse = "No response after connection\r\nFirmware version may be pre 2.00\r\n";
    struct
    {
        const char* reply;
        ELinkOutcome outcome;
        std::optional<int32_t> firmware, hardware;
        std::string message;
    } const cases[] = {
        {"%return 201 3\r\n", ELinkOutcome::Ok, 201, 3,
         "Connected Succesfully\r\nHardware Version: 3\r\nFirmware Version: 201\r\n"},
        {"%return\t-5\r\n  17", ELinkOutcome::Ok, -5, 17,
         "Connected Succesfully\r\nHardware Version: 17\r\nFirmware Version: -5\r\n"},
        {"%return 150\r\n", ELinkOutcome::Ok, 150, std::nullopt,
         "Connected Succesfully\r\nHardware Version: unknown\r\nFirmware Version: 150\r\n"},
        {"%return\r\n", ELinkOutcome::Ok, std::nullopt, std::nullopt,
         "Connected Succesfully\r\nHardware Version: unknown\r\nFirmware Version: unknown\r\n"},
        {"%return 99999999999 1\r\n", ELinkOutcome::Ok, std::nullopt, std::nullopt,
         "Connected Succesfully\r\nHardware Version: unknown\r\nFirmware Version: unknown\r\n"},
        {"", ELinkOutcome::NoResponse, std::nullopt, std::nullopt, noResponse},
        {"%retur", ELinkOutcome::NoResponse, std::nullopt, std::nullopt, noResponse},
        {"%RETURN 201 3\r\n", ELinkOutcome::NoResponse, std::nullopt, std::nullopt, noResponse},
    };
    for (const auto& c : cases)
    {
        panel.infoReply = c.reply;
        OpenLink();
        const TLinkResult r = link->RequestInfo();
        EXPECT_EQ(r.outcome, c.outcome) << c.reply;
        EXPECT_EQ(r.answered, c.outcome == ELinkOutcome::Ok) << c.reply;
        EXPECT_EQ(r.firmwareVersion, c.firmware) << c.reply;
        EXPECT_EQ(r.hardwareVersion, c.hardware) << c.reply;
        EXPECT_EQ(r.message, c.message) << c.reply;
        EXPECT_TRUE(r.connected);
        EXPECT_FALSE(r.uploadAllowed);
        // The whole reply window is waited out whatever comes.
        EXPECT_EQ(Elapsed(), 1100u) << c.reply;
    }
}

TEST_F(Handshake, ProbeThenRequestAtLowSpeedWithTheirPauses)
{
    const uint64_t t0 = clock.NowMs();
    link->OpenSelectedPort("/dev/ttyTEST");
    EXPECT_TRUE(link->IsConnected());
    // Bytes waiting before the request are not its reply.
    line->Deliver("%return 7 7\r\n", 0);
    const TLinkResult r = link->RequestInfo();
    EXPECT_EQ(r.firmwareVersion, 201);

    const auto& w = line->Writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].Text(), "$QPW\r\n");
    EXPECT_EQ(w[0].time, t0);
    EXPECT_EQ(w[1].Text(), "%reqinfo\n");
    EXPECT_EQ(w[1].time, t0 + 1600);
    EXPECT_EQ(w[0].baud, 9600u);
    EXPECT_EQ(w[1].baud, 9600u);
    EXPECT_EQ(clock.NowMs(), t0 + 2700);
}

TEST_F(Handshake, PortThatCannotBeOpenedSaysWhy)
{
    const TLinkResult r = link->Connect("/dev/missing", progress, nullptr);
    EXPECT_EQ(r.outcome, ELinkOutcome::SerialError);
    EXPECT_EQ(r.message, "Could not open /dev/missing\r\nno such device\r\n");
    EXPECT_FALSE(r.connected);
    EXPECT_FALSE(link->IsConnected());
    EXPECT_TRUE(line->Writes().empty());
}

TEST_F(Handshake, UnansweredConnectStaysOpenWithoutDownload)
{
    panel.infoReply.clear();
    panel.layoutReply = "%return 100 0\r\n";
    const TLinkResult r = link->Connect("/dev/ttyTEST", progress, nullptr);
    EXPECT_EQ(r.outcome, ELinkOutcome::NoResponse);
    EXPECT_TRUE(r.connected);
    EXPECT_FALSE(r.uploadAllowed);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"$QPW\r\n", "%reqinfo\n"}));
    EXPECT_EQ(line->Baud(), 9600u);
}

TEST_F(Handshake, SerialFailureIsReportedAsAValue)
{
    OpenLink();
    line->FailWritesFrom(1);
    const TLinkResult r = link->RequestInfo();
    EXPECT_EQ(r.outcome, ELinkOutcome::SerialError);
    EXPECT_EQ(r.systemError, static_cast<uint32_t>(EIO));
    EXPECT_EQ(r.message, "Serial port error\r\nInput/output error\r\n");
    EXPECT_TRUE(r.connected);
}
