#include "ProgressBar.h"
#include "StopSignals.h"

#include "Command.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

CProgressBar::CProgressBar() : m_enabled(::isatty(STDERR_FILENO) == 1) {}

void CProgressBar::Begin(bool reading)
{
    m_active = true;
    m_reading = reading;
    m_position = 0;
    Draw();
}

void CProgressBar::SetPosition(int32_t position)
{
    m_position = std::clamp(position, 0, 1000);
    Draw();
}

void CProgressBar::End()
{
    if (m_enabled && m_active)
        std::fputc('\n', stderr);
    m_active = false;
}

void CProgressBar::Draw()
{
    if (!m_enabled)
        return;
    constexpr int kWidth = 40;
    const int filled = m_position * kWidth / 1000;
    char bar[kWidth + 1];
    for (int i = 0; i < kWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\r%s [%s] %3d%%", m_reading ? "Reading Data From The Control" : "Writing Data to the Control",
                 bar, m_position / 10);
    std::fflush(stderr);
}

void PrintMessage(const std::string& message)
{
    size_t start = 0;
    while (start < message.size())
    {
        size_t end = message.find("\r\n", start);
        if (end == std::string::npos)
            end = message.size();
        std::printf("%s\n", message.substr(start, end - start).c_str());
        start = end + 2;
    }
}

int FailLink(const std::string& port, const TLinkResult& result, const char* stopped)
{
    if (result.outcome == ELinkOutcome::Cancelled)
    {
        Fail(port, stopped != nullptr ? std::string("Cancelled; ") + stopped : std::string("Cancelled"));
        return kExitStopped;
    }
    std::string text = OneLine(result.message);
    // "Could not open PATH; reason": the port already leads the line.
    const std::string prefix = "Could not open " + port + "; ";
    if (text.rfind(prefix, 0) == 0)
        text = text.substr(prefix.size());
    return Fail(port, text.empty() ? "the panel did not answer" : text);
}
