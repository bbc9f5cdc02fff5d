#pragma once

#include <cstdint>
#include <string>

// Where a transfer reports how far it has come: the progress window in the
// desktop program, a bar on the terminal in qelctl.
class IProgressSink
{
public:
    virtual ~IProgressSink() = default;
    // reading: a download ("Reading Data From The Control"), else an outbound
    // transfer ("Writing Data to the Control").
    virtual void Begin(bool reading) = 0;
    // 0 to 1000; an outbound transfer's last block may report more (a full bar).
    virtual void SetPosition(int32_t position) = 0;
    virtual void End() = 0;
};

// Hears about an operation while it still runs: Connect reports the open
// port before it asks for the versions, and shows the versions before the
// download starts.
class IMessageSink
{
public:
    virtual ~IMessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    // The port is open and the link connected; Disconnect would close it.
    virtual void PortOpened() {}
};

class CNullProgress : public IProgressSink
{
public:
    void Begin(bool) override {}
    void SetPosition(int32_t) override {}
    void End() override {}
};
