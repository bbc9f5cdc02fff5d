#include "PanelProbe.h"

#include "PanelLink.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace
{

std::string Flatten(const std::string& message)
{
    std::string out;
    for (size_t start = 0; start < message.size();)
    {
        size_t end = message.find("\r\n", start);
        if (end == std::string::npos)
            end = message.size();
        if (end > start)
            out += (out.empty() ? "" : "; ") + message.substr(start, end - start);
        start = end + 2;
    }
    return out;
}

TProbeResult ProbeOne(const std::string& port)
{
    TProbeResult r;
    r.port = port;
    CPanelLink link;
    const TLinkResult opened = link.TryOpen(port);
    if (opened.outcome != ELinkOutcome::Ok)
    {
        r.error = Flatten(opened.message);
        return r;
    }
    const TLinkResult info = link.RequestInfo();
    link.Disconnect();
    r.answered = info.outcome == ELinkOutcome::Ok && info.answered;
    r.firmwareVersion = info.firmwareVersion;
    r.hardwareVersion = info.hardwareVersion;
    if (!r.answered)
        r.error = Flatten(info.message);
    return r;
}

} // namespace

std::vector<TProbeResult> ProbePorts(const std::vector<std::string>& ports, size_t atOnce)
{
    std::vector<TProbeResult> results(ports.size());
    std::atomic<size_t> next{0};
    const auto work = [&]
    {
        for (size_t i = next++; i < ports.size(); i = next++)
            results[i] = ProbeOne(ports[i]);
    };
    std::vector<std::thread> threads;
    const size_t count = std::min(std::max<size_t>(atOnce, 1), ports.size());
    for (size_t t = 0; t < count; ++t)
        threads.emplace_back(work);
    for (std::thread& t : threads)
        t.join();
    return results;
}
