#pragma once

#include "Clock.h"
#include "ModelLine.h"
#include "PanelLink.h"
#include "PanelModel.h"
#include "SerialPort.h"
#include "SimulatedPanel.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The simulated panel's model on a virtual clock, for the main window: the
// window's link reaches it through a line that takes no real time, so a
// Connect, an upload or a firmware upgrade runs with every pause of the wire
// and none of the waiting. Only Path() opens; any other port is missing.
class CVirtualPanel
{
public:
    explicit CVirtualPanel(const TSimOptions& options, std::string path = "/dev/ttyQEL-virtual")
        : m_model({options.firmwareVersion, options.hardwareVersion, options.faults}, options.layoutImage),
          m_path(std::move(path)), m_layout(options.layoutImage)
    {
        m_model.onLayoutStored = [this](const std::vector<uint8_t>& image)
        {
            m_layout = image;
            ++m_layoutsStored;
        };
        m_model.onFirmwareStored = [this](const std::vector<uint8_t>& image)
        {
            m_firmware = image;
            ++m_firmwareStored;
        };
    }
    CVirtualPanel(const CVirtualPanel&) = delete;
    CVirtualPanel& operator=(const CVirtualPanel&) = delete;

    const std::string& Path() const { return m_path; }
    CVirtualClock& Clock() { return m_clock; }

    // For TMainOptions::makeLink: a link on this panel's line and clock.
    std::function<std::unique_ptr<CPanelLink>()> LinkMaker()
    {
        return [this] { return std::make_unique<CPanelLink>(std::make_unique<CLine>(*this), m_clock); };
    }

    // The panel goes away with the port still open: from here on every read
    // and write fails, as on a terminal whose other side has closed.
    void Unplug() { m_unplugged = true; }

    // The link's thread stops in the nth binary write from now (a block of a
    // transfer) until Release, so that a test can act while a transfer is
    // under way; it goes on by itself after 10 real seconds.
    void HoldAtBinaryWrite(int n)
    {
        const std::lock_guard<std::mutex> lock(m_holdMutex);
        m_holdAt = n;
        m_held = false;
    }
    // Waits (in real time, at most 10 s) until the link's thread is held.
    bool WaitUntilHeld()
    {
        std::unique_lock<std::mutex> lock(m_holdMutex);
        return m_holdChanged.wait_for(lock, std::chrono::seconds(10), [this] { return m_held; });
    }
    void Release()
    {
        {
            const std::lock_guard<std::mutex> lock(m_holdMutex);
            m_holdAt = 0;
        }
        m_holdChanged.notify_all();
    }

    // What the panel holds, as CSimulatedPanel tells it.
    std::vector<uint8_t> LayoutImage() const { return m_layout; }
    std::vector<uint8_t> LastFirmware() const { return m_firmware; }
    int32_t LayoutsStored() const { return m_layoutsStored; }
    int32_t FirmwareStored() const { return m_firmwareStored; }

private:
    class CLine : public ISerialLine
    {
    public:
        explicit CLine(CVirtualPanel& panel) : m_panel(panel), m_line(panel.m_clock, panel.m_model) {}

        void Open(const std::string& path) override
        {
            if (path != m_panel.m_path)
                throw CSerialException(ENOENT);
            m_line.Open(path);
        }
        void Close() override { m_line.Close(); }
        bool IsOpen() const override { return m_line.IsOpen(); }
        void SetTimeouts() override { m_line.SetTimeouts(); }
        int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs) override
        {
            Check();
            return m_line.Read(buffer, count, limitMs);
        }
        int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) override
        {
            Check();
            return m_line.ReadAvailable(buffer, capacity);
        }
        int32_t Write(const char* text) override
        {
            Check();
            return m_line.Write(text);
        }
        int32_t WriteBytes(const uint8_t* bytes, int32_t length) override
        {
            Check();
            m_panel.MaybeHold();
            return m_line.WriteBytes(bytes, length);
        }
        void SetBaudRate(uint32_t baud) override
        {
            Check();
            m_line.SetBaudRate(baud);
        }

    private:
        void Check() const
        {
            if (m_panel.m_unplugged)
                throw CSerialException(EIO);
        }

        CVirtualPanel& m_panel;
        CModelLine m_line;
    };

    void MaybeHold()
    {
        std::unique_lock<std::mutex> lock(m_holdMutex);
        if (m_holdAt <= 0 || --m_holdAt > 0)
            return;
        m_held = true;
        m_holdChanged.notify_all();
        m_holdAt = -1;
        m_holdChanged.wait_for(lock, std::chrono::seconds(10), [this] { return m_holdAt == 0; });
        m_held = false;
    }

    std::mutex m_holdMutex;
    std::condition_variable m_holdChanged;
    int m_holdAt = 0;
    bool m_held = false;
    CVirtualClock m_clock;
    CPanelModel m_model;
    std::string m_path;
    bool m_unplugged = false;
    std::vector<uint8_t> m_layout;
    std::vector<uint8_t> m_firmware;
    int32_t m_layoutsStored = 0;
    int32_t m_firmwareStored = 0;
};
