// The Telnet and serial port control exchange on a scripted byte stream.

#include "DeviceServerError.h"
#include "NetworkLine.h"
#include "ScriptedLine.h"
#include "TelnetCodec.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;
constexpr uint8_t IAC = 255, SB = 250, SE = 240, WILL = 251, WONT = 252, DO = 253, DONT = 254;

// The server end: unwraps what the client sends, keeps the data and the
// serial port commands, and answers them as the test sets it up.
class CDeviceServer
{
public:
    Bytes data;                                     // data bytes received, unescaped
    std::vector<Bytes> commands;                    // serial port subnegotiations: command, value...
    std::vector<std::pair<uint8_t, uint8_t>> verbs; // negotiation received
    Bytes greeting{IAC, DO, 44, IAC, WILL, 0, IAC, DO, 0, IAC, WILL, 3, IAC, DO, 3};
    std::optional<uint32_t> confirmDelayMs = 5; // answer to SET-BAUDRATE; none: never answers
    std::optional<uint32_t> confirmAs;          // the rate named in the answer; none: the one asked

    void Attach(CScriptedLine& line)
    {
        line.SetResponder([this](CScriptedLine& l, const Bytes& bytes) { Receive(l, bytes); });
    }

private:
    void Receive(CScriptedLine& line, const Bytes& bytes)
    {
        for (uint8_t b : bytes)
        {
            switch (m_state)
            {
            case 0:
                if (b == IAC)
                    m_state = 1;
                else
                    data.push_back(b);
                break;
            case 1:
                if (b == IAC)
                {
                    data.push_back(b);
                    m_state = 0;
                }
                else if (b == SB)
                {
                    m_sub.clear();
                    m_state = 3;
                }
                else
                {
                    m_verb = b;
                    m_state = 2;
                }
                break;
            case 2:
                verbs.emplace_back(m_verb, b);
                if (!m_greeted)
                {
                    line.Deliver(greeting, 1);
                    m_greeted = true;
                }
                m_state = 0;
                break;
            case 3:
                if (b == IAC)
                    m_state = 4;
                else
                    m_sub.push_back(b);
                break;
            default:
                if (b == IAC)
                {
                    m_sub.push_back(b);
                    m_state = 3;
                    break;
                }
                m_state = 0;
                commands.emplace_back(m_sub.begin() + 1, m_sub.end());
                if (m_sub.size() == 6 && m_sub[1] == 1 && confirmDelayMs)
                {
                    uint32_t baud =
                        (uint32_t{m_sub[2]} << 24) | (m_sub[3] << 16) | (m_sub[4] << 8) | m_sub[5];
                    baud = confirmAs.value_or(baud);
                    line.Deliver(Bytes{IAC, SB, 44, 101, static_cast<uint8_t>(baud >> 24),
                                       static_cast<uint8_t>(baud >> 16), static_cast<uint8_t>(baud >> 8),
                                       static_cast<uint8_t>(baud), IAC, SE},
                                 *confirmDelayMs);
                }
                break;
            }
        }
    }

    int m_state = 0;
    uint8_t m_verb = 0;
    Bytes m_sub;
    bool m_greeted = false;
};

class NetworkLineTest : public ::testing::Test
{
protected:
    NetworkLineTest()
    {
        auto transport = std::make_unique<CScriptedLine>(clock);
        raw = transport.get();
        server.Attach(*raw);
        line = std::make_unique<CRfc2217Line>(std::move(transport), clock);
    }

    uint32_t ErrorOf(const std::function<void()>& action)
    {
        try
        {
            action();
        }
        catch (const CSerialException& e)
        {
            return e.m_error;
        }
        return 0;
    }

    CVirtualClock clock;
    CScriptedLine* raw = nullptr;
    CDeviceServer server;
    std::unique_ptr<CRfc2217Line> line;
};

} // namespace

TEST_F(NetworkLineTest, OpenNegotiatesAndSetsTheLineBeforeItReturns)
{
    server.confirmDelayMs = 40;
    const uint64_t t0 = clock.NowMs();
    line->Open("rfc2217://panel.local:3001");
    EXPECT_EQ(clock.NowMs() - t0, 40u); // waited for the rate, and for nothing else
    const std::vector<std::pair<uint8_t, uint8_t>> asked{{WILL, 0}, {WILL, 3}, {WILL, 44}, {DO, 0}, {DO, 3}};
    EXPECT_EQ(server.verbs, asked);
    // 8 data bits, no parity, one stop bit, no flow control, then 9600 baud.
    const std::vector<Bytes> settings{{2, 8}, {3, 1}, {4, 1}, {5, 1}, {1, 0, 0, 0x25, 0x80}};
    EXPECT_EQ(server.commands, settings);
    // The server's own requests agreed with what was asked: no answers to them.
    EXPECT_EQ(raw->Writes().size(), 2u);
    EXPECT_TRUE(server.data.empty());
}

TEST_F(NetworkLineTest, RefusesOptionsItDoesNotKnowAndAnswersOnlyChanges)
{
    server.greeting = {IAC, DO, 44, IAC, WILL, 1, IAC, DO, 24, IAC, WILL, 0, IAC, WILL, 0, IAC, WONT, 0};
    line->Open("rfc2217://h:1");
    std::vector<std::pair<uint8_t, uint8_t>> answers(server.verbs.begin() + 5, server.verbs.end());
    // No echo, no terminal type; binary given up when the server gives it up.
    const std::vector<std::pair<uint8_t, uint8_t>> expected{{DONT, 1}, {WONT, 24}, {DONT, 0}};
    EXPECT_EQ(answers, expected);
}

TEST_F(NetworkLineTest, EscapesAndUnescapesByte255BothWays)
{
    line->Open("rfc2217://h:1");
    const Bytes out{0x00, 0xFF, 0x41, 0xFF, 0xFF};
    line->WriteBytes(out.data(), static_cast<int32_t>(out.size()));
    EXPECT_EQ(raw->Writes().back().bytes, (Bytes{0x00, 0xFF, 0xFF, 0x41, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(server.data, out);

    // An escaped 255 split across arrivals, a NOP and a modem state notice
    // between the data bytes.
    raw->Deliver(Bytes{'a', IAC}, 1);
    raw->Deliver(Bytes{IAC, 'b', IAC, 241, IAC, SB, 44, 107, IAC}, 1);
    raw->Deliver(Bytes{IAC, IAC, SE, 'c'}, 300);
    uint8_t in[8] = {};
    const uint64_t t0 = clock.NowMs();
    EXPECT_EQ(line->Read(in, 4, 1000), 4);
    EXPECT_EQ(Bytes(in, in + 4), (Bytes{'a', 0xFF, 'b', 'c'}));
    EXPECT_EQ(clock.NowMs() - t0, 300u); // returned as soon as the fourth byte came
}

TEST_F(NetworkLineTest, DecodesTheSameWhereverTheStreamIsCut)
{
    const Bytes stream{'A', IAC, IAC, 'B', IAC, SB, 44, 101, 0, 1, 0xC2, 0, IAC, SE, IAC, 249, 'C'};
    for (size_t cut = 0; cut <= stream.size(); ++cut)
    {
        CTelnetCodec codec;
        Bytes data, replies;
        codec.Decode(stream.data(), cut, data, replies);
        codec.Decode(stream.data() + cut, stream.size() - cut, data, replies);
        EXPECT_EQ(data, (Bytes{'A', 0xFF, 'B', 'C'})) << cut;
        EXPECT_EQ(codec.BaudReplies(), 1u) << cut;
        EXPECT_EQ(codec.LastBaudReply(), 115200u) << cut;
        EXPECT_TRUE(replies.empty()) << cut;
    }
}

TEST(NetworkLine, BaudChangeWaitsForTheServersConfirmation)
{
    struct
    {
        std::optional<uint32_t> delay;
        std::optional<uint32_t> as;
        uint32_t error;
        uint64_t waited;
    } const cases[] = {
        {1, {}, 0, 1},
        {1500, {}, 0, 1500}, // late, yet in time
        {{}, {}, kErrBaudNotConfirmed, 2000},
        {2500, {}, kErrBaudNotConfirmed, 2000},
        {1, 9600, kErrBaudRefused, 1},
    };
    for (const auto& c : cases)
    {
        CVirtualClock clock;
        auto transport = std::make_unique<CScriptedLine>(clock);
        CDeviceServer server;
        server.Attach(*transport);
        CRfc2217Line line(std::move(transport), clock);
        line.Open("rfc2217://h:1");
        server.confirmDelayMs = c.delay;
        server.confirmAs = c.as;
        const uint64_t t0 = clock.NowMs();
        uint32_t error = 0;
        try
        {
            line.SetBaudRate(115200);
        }
        catch (const CSerialException& e)
        {
            error = e.m_error;
        }
        EXPECT_EQ(error, c.error) << c.waited;
        EXPECT_EQ(clock.NowMs() - t0, c.waited);
        EXPECT_EQ(server.commands.back(), (Bytes{1, 0, 1, 0xC2, 0}));
    }
    EXPECT_STREQ(DeviceServerErrorText(kErrBaudNotConfirmed),
                 "the device server did not confirm the baud rate within 2 s");
}

TEST_F(NetworkLineTest, DataArrivingBeforeTheConfirmationIsKept)
{
    line->Open("rfc2217://h:1");
    raw->Deliver(std::string("%return 0\r\n"), 1);
    line->SetBaudRate(115200);
    uint8_t in[16];
    EXPECT_EQ(line->ReadAvailable(in, sizeof in), 11);
}

TEST_F(NetworkLineTest, AServerRefusingPortControlOrMalformedUrlsFailToOpen)
{
    server.greeting = {IAC, DONT, 44};
    EXPECT_EQ(ErrorOf([&] { line->Open("rfc2217://h:1"); }), kErrNoPortControl);
    EXPECT_EQ(ErrorOf([&] { line->Open("/dev/ttyUSB0"); }), kErrBadNetworkPort);
    EXPECT_EQ(CSerialException(kErrServerClosed).GetErrorMessage(), "connection closed by the device server");
}
