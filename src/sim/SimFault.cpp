#include "SimFault.h"

#include <cstdlib>

namespace
{

struct TFaultName
{
    const char* name;
    ESimFault kind;
    bool needsValue;
    int32_t defaultValue;
};

constexpr TFaultName kNames[] = {
    {"refuse-block", ESimFault::RefuseBlock, true, 0},    {"split-ack", ESimFault::SplitAck, true, 0},
    {"corrupt-block", ESimFault::CorruptBlock, true, 0},  {"bad-length", ESimFault::BadLength, true, 0},
    {"silent-after", ESimFault::SilentAfter, true, 0},    {"no-info", ESimFault::NoInfo, false, 0},
    {"old-firmware", ESimFault::OldFirmware, false, 200}, {"chatter", ESimFault::Chatter, false, 0},
    {"corrupt-store", ESimFault::CorruptStore, true, 0},
};

} // namespace

bool ParseSimFault(const std::string& spec, TSimFault& fault, std::string& error)
{
    const size_t eq = spec.find('=');
    const std::string name = spec.substr(0, eq);
    for (const TFaultName& n : kNames)
    {
        if (name != n.name)
            continue;
        fault.kind = n.kind;
        fault.value = n.defaultValue;
        if (eq == std::string::npos)
        {
            if (n.needsValue)
            {
                error = "fault '" + name + "' needs a block number, as in " + name + "=2";
                return false;
            }
            return true;
        }
        const std::string text = spec.substr(eq + 1);
        char* end = nullptr;
        const long v = std::strtol(text.c_str(), &end, 10);
        const long min = n.kind == ESimFault::SilentAfter || n.kind == ESimFault::CorruptStore ? 0 : 1;
        if (text.empty() || *end != '\0' || v < min || v > 1000000)
        {
            error = "fault '" + spec + "' needs a whole number" + (min == 1 ? " from 1" : "");
            return false;
        }
        if (n.kind == ESimFault::NoInfo || n.kind == ESimFault::Chatter)
        {
            error = "fault '" + name + "' takes no value";
            return false;
        }
        fault.value = static_cast<int32_t>(v);
        return true;
    }
    error = "unknown fault '" + spec + "'";
    return false;
}

const char* SimFaultHelp()
{
    return "  refuse-block=N   refuse upload block N once (blocks count from 1)\n"
           "  split-ack=N      acknowledge upload block N in two pieces 600 ms apart, once\n"
           "  corrupt-block=N  send download block N with a wrong CRC-32 once\n"
           "  bad-length=N     announce download block N with an impossible length once\n"
           "  silent-after=N   answer nothing after N blocks until the tool's %lowbaud, once\n"
           "  no-info          never answer %reqinfo (firmware before 2.00)\n"
           "  old-firmware[=N] report firmware version N (200) to %reqinfo\n"
           "  chatter          send \".\" every 200 ms at 9600 baud and answer nothing\n"
           "  corrupt-store=N  keep the next uploaded layout with its byte N (from 0) changed\n";
}
