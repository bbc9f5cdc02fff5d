#pragma once

#include "SimFault.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// The QEL-1's side of the wire protocol, without any I/O: bytes the panel
// hears go in, bytes it says come out at the times it says them. The
// simulated panel puts it on a pseudo-terminal; tests can drive it directly.
class CPanelModel
{
public:
    struct TSettings
    {
        int32_t firmwareVersion = 201;
        int32_t hardwareVersion = 1;
        std::vector<TSimFault> faults;
    };

    CPanelModel(TSettings settings, std::vector<uint8_t> layoutImage);

    // Bytes as the panel hears them, at time nowMs.
    void Receive(const uint8_t* bytes, size_t length, uint64_t nowMs);
    // Lets time pass: a record that stops arriving is given up.
    void Tick(uint64_t nowMs);
    // A piece of what the panel says, with the line speed it says it at.
    struct TOutput
    {
        uint64_t due;
        uint32_t baud;
        std::vector<uint8_t> bytes;
    };
    // Takes the next piece due by nowMs; false when none is.
    bool TakeOutput(uint64_t nowMs, TOutput& out);
    // When the next queued output is due; UINT64_MAX when none is queued.
    uint64_t NextOutputDue() const;
    // When Tick next has something to do; UINT64_MAX when nothing.
    uint64_t NextDeadline() const;

    // The panel's own line speed.
    uint32_t Baud() const { return m_baud; }
    const std::vector<uint8_t>& LayoutImage() const { return m_layout; }
    int32_t Restarts() const { return m_restarts; }

    // Called when an upload's end record agrees with its blocks.
    std::function<void(const std::vector<uint8_t>&)> onLayoutStored;
    std::function<void(const std::vector<uint8_t>&)> onFirmwareStored;
    // Notes for the wire log ("restarting", "block 3 refused").
    std::function<void(const std::string&)> onEvent;

private:
    enum class EState
    {
        Text,
        Record,     // the 1012 bytes after "%binblock\n"
        EndRecord,  // the 12 bytes after "%endlayout\n" or "%endblock\n"
    };

    void Command(const std::string& line);
    void ServeBlock(int32_t index);
    void BlockRecord(const uint8_t* bytes);
    void EndRecord(const uint8_t* bytes);
    void Say(const std::vector<uint8_t>& bytes, uint32_t delayMs = 0);
    void Say(const std::string& text, uint32_t delayMs = 0);
    void Note(const std::string& text);
    // True (once) when a fault of this kind is armed for block n (from 1).
    bool Fault(ESimFault kind, int32_t n);
    bool HasFault(ESimFault kind, int32_t* value = nullptr) const;
    // True (once per fault) for an armed fault of this kind, whatever its value.
    bool TakeFault(ESimFault kind, int32_t& value);
    void Restart();

    TSettings m_settings;
    std::vector<bool> m_spent;
    std::vector<uint8_t> m_layout;

    uint64_t m_now = 0;
    uint32_t m_baud = 9600;
    uint64_t m_lastHeard = 0;
    uint64_t m_deafUntil = 0;  // restarting: hears nothing
    bool m_silent = false;     // silent-after: answers nothing until "%lowbaud"
    EState m_state = EState::Text;
    bool m_endIsFirmware = false;
    std::string m_line;
    std::vector<uint8_t> m_record;
    uint64_t m_recordDeadline = 0;

    // The download's blocks as first served: offset and size, so a repeated
    // request gets the same block.
    std::vector<std::pair<int32_t, int32_t>> m_served;
    std::vector<uint8_t> m_stored;  // 4-byte header and layout, as served

    // The upload or firmware transfer in progress.
    std::vector<uint8_t> m_incoming;
    int32_t m_incomingCount = 0;
    int32_t m_accepted = 0;

    std::deque<TOutput> m_output;
    int32_t m_restarts = 0;
    bool m_chatter = false;
    uint64_t m_nextChatter = 0;
};
