#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Telnet (RFC 854/855) with the serial port control option (RFC 2217), client
// side, as pure byte transformations: no socket, no clock, so a scripted byte
// stream can drive it. Data bytes 0xFF are doubled on the way out and undoubled
// on the way in; option requests from the server are answered so that the
// session ends in binary mode both ways with suppressed go-ahead and serial
// port control, and anything else is refused.
class CTelnetCodec
{
public:
    enum : uint8_t
    {
        kSe = 240,
        kSb = 250,
        kWill = 251,
        kWont = 252,
        kDo = 253,
        kDont = 254,
        kIac = 255,
    };
    enum : uint8_t
    {
        kOptBinary = 0,
        kOptSuppressGoAhead = 3,
        kOptComPort = 44,
    };
    // Serial port control commands from the client; the server answers each
    // with the same command plus 100.
    enum : uint8_t
    {
        kSetBaudRate = 1,
        kSetDataSize = 2,
        kSetParity = 3,
        kSetStopSize = 4,
        kSetControl = 5,
        kServerOffset = 100,
    };

    CTelnetCodec();

    // The opening requests: binary both ways, no go-ahead, serial port control.
    std::vector<uint8_t> Greeting();
    // Appends data to out with every 0xFF doubled.
    static void Encode(const uint8_t* data, size_t length, std::vector<uint8_t>& out);
    // IAC SB COM-PORT-OPTION command value... IAC SE, 0xFF in the value doubled.
    static std::vector<uint8_t> ComPortCommand(uint8_t command, const std::vector<uint8_t>& value);
    static std::vector<uint8_t> SetBaudRate(uint32_t baud);

    // Takes bytes from the server: data goes to data, answers the server must
    // get go to replies. Commands may be split anywhere across calls.
    void Decode(const uint8_t* raw, size_t length, std::vector<uint8_t>& data, std::vector<uint8_t>& replies);

    // The server said DONT or WONT to serial port control.
    bool ComPortRefused() const { return m_comPortRefused; }
    // Answers to SET-BAUDRATE seen so far, and the rate the last one named.
    uint32_t BaudReplies() const { return m_baudReplies; }
    uint32_t LastBaudReply() const { return m_lastBaud; }

private:
    enum class EState
    {
        Data,
        Iac,
        Verb,   // after IAC WILL/WONT/DO/DONT, waiting for the option
        Sub,    // inside SB
        SubIac, // IAC inside SB
    };
    enum class EQ : uint8_t
    {
        No,
        Yes,
        Want, // asked, no answer yet
    };

    void Negotiate(uint8_t verb, uint8_t option, std::vector<uint8_t>& replies);
    void EndSub();
    static bool WeDo(uint8_t option);  // options we enable on our side
    static bool HeMay(uint8_t option); // options we let the server enable

    EState m_state = EState::Data;
    uint8_t m_verb = 0;
    std::vector<uint8_t> m_sub;
    EQ m_us[256];
    EQ m_him[256];
    bool m_comPortRefused = false;
    uint32_t m_baudReplies = 0;
    uint32_t m_lastBaud = 0;
};
