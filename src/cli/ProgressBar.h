#pragma once

#include "LinkText.h"
#include "PanelLink.h"
#include "ProgressSink.h"

#include <cstdint>
#include <string>

// A transfer's progress as a bar on stderr, drawn only when stderr is a terminal.
class CProgressBar : public IProgressSink
{
public:
    CProgressBar();
    void Begin(bool reading) override;
    void SetPosition(int32_t position) override;
    void End() override;

private:
    void Draw();

    bool m_enabled;
    bool m_active = false;
    bool m_reading = false;
    int32_t m_position = 0;
};

// The panel commands' way of turning link results into output.

// The message-pane text as lines on stdout.
void PrintMessage(const std::string& message);
// Prints "qelctl: PORT: message" and returns the exit status of a failure.
// A transfer stopped by a signal prints "Cancelled; " and what was not done
// (stopped, such as "Layout not uploaded") and returns kExitStopped.
int FailLink(const std::string& port, const TLinkResult& result, const char* stopped = nullptr);
