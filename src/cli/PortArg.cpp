#include "PortArg.h"

#include "Command.h"

#include "PanelProbe.h"
#include "PortList.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace
{

void AddOnce(std::vector<std::string>& ports, const std::string& port)
{
    if (!port.empty() && std::find(ports.begin(), ports.end(), port) == ports.end())
        ports.push_back(port);
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string Versions(const TProbeResult& r)
{
    return r.port + " (firmware " + (r.firmwareVersion ? std::to_string(*r.firmwareVersion) : "unknown") +
           ")";
}

} // namespace

std::vector<std::string> CandidatePorts()
{
    std::vector<std::string> ports;
    for (const TPortInfo& p : EnumeratePorts())
        AddOnce(ports, p.path);
    if (const char* extra = std::getenv("QEL_PORTS"))
    {
        std::string word;
        for (const char* c = extra;; ++c)
        {
            if (*c == '\0' || *c == ' ' || *c == ',' || *c == '\t' || *c == '\n')
            {
                AddOnce(ports, word);
                word.clear();
                if (*c == '\0')
                    break;
            }
            else
                word += *c;
        }
    }
    return ports;
}

bool ReadPortsFile(const std::string& path, std::vector<std::string>& ports, std::string& reason)
{
    std::ifstream in(path);
    if (!in)
    {
        reason = "cannot read the ports file";
        return false;
    }
    std::string line;
    while (std::getline(in, line))
        AddOnce(ports, Trim(line.substr(0, line.find('#'))));
    if (in.bad())
    {
        reason = "cannot read the ports file";
        return false;
    }
    return true;
}

bool ResolvePortArg(const std::string& arg, std::string& port)
{
    if (arg != "auto")
    {
        port = arg;
        return true;
    }
    const std::vector<std::string> candidates = CandidatePorts();
    if (candidates.empty())
    {
        Fail("auto", "no serial ports to search (name network ports in QEL_PORTS)");
        return false;
    }
    std::vector<TProbeResult> found;
    for (const TProbeResult& r : ProbePorts(candidates))
    {
        if (r.answered)
            found.push_back(r);
    }
    if (found.size() == 1)
    {
        port = found[0].port;
        std::fprintf(stderr, "Found a QEL-1 on %s\n", Versions(found[0]).c_str());
        return true;
    }
    std::string list;
    for (const TProbeResult& r : found)
        list += (list.empty() ? "" : ", ") + Versions(r);
    if (found.empty())
    {
        for (const std::string& p : candidates)
            list += (list.empty() ? "" : ", ") + p;
        Fail("auto", "no panel answered on " + list);
    }
    else
        Fail("auto", std::to_string(found.size()) + " panels answered; name one with --port: " + list);
    return false;
}
