#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Misbehaviour the simulated panel can be told to show. Blocks are counted
// from 1 in either direction. The block faults happen once; no-info,
// old-firmware and chatter last for the whole run.
enum class ESimFault
{
    RefuseBlock,  // refuse-block=N: answer upload block N with a refusal, once
    SplitAck,     // split-ack=N: acknowledge upload block N in two pieces 600 ms apart
    CorruptBlock, // corrupt-block=N: send download block N with a wrong CRC-32, once
    BadLength,    // bad-length=N: announce download block N with an impossible length, once
    SilentAfter,  // silent-after=N: answer nothing after N blocks until the tool's "%lowbaud"
    NoInfo,       // no-info: ignore "%reqinfo", like firmware before 2.00
    OldFirmware,  // old-firmware[=N]: report firmware N (200 when not given) to "%reqinfo"
    Chatter,      // chatter: send "." every 200 ms at 9600 baud and answer nothing, like a console
    CorruptStore, // corrupt-store=N: keep the next uploaded layout with its byte N (from 0) changed, once
};

struct TSimFault
{
    ESimFault kind;
    int32_t value = 0;
};

// Parses one --fault SPEC; false with error set when it is not one of the above.
bool ParseSimFault(const std::string& spec, TSimFault& fault, std::string& error);
// The accepted specs, one per line, for help texts.
const char* SimFaultHelp();
