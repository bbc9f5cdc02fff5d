#pragma once

#include "PanelModel.h"
#include "SimFault.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

struct TSimOptions
{
    int32_t firmwareVersion = 201;
    int32_t hardwareVersion = 1;
    // The layout byte image the panel holds at start (served after its 4-byte header).
    std::vector<uint8_t> layoutImage;
    // When set, each uploaded layout is kept there as layout-NNN.qel and each
    // firmware image as firmware-NNN.qfw.
    std::string storeDir;
    std::vector<TSimFault> faults;
    // When set, the wire traffic is logged there, one line per piece.
    std::string logPath;
};

// A QEL-1 on a pseudo-terminal. Start() makes the terminal and returns the
// path the tool opens; Serve() answers on it until Stop(), which may be called
// from another thread or a signal handler.
class CSimulatedPanel
{
public:
    explicit CSimulatedPanel(TSimOptions options);
    CSimulatedPanel(const CSimulatedPanel&) = delete;
    CSimulatedPanel& operator=(const CSimulatedPanel&) = delete;
    ~CSimulatedPanel();

    // Throws std::runtime_error when no pseudo-terminal can be made or the log cannot be opened.
    std::string Start();
    void Serve();
    void Stop();

    // What the panel holds now; safe from any thread.
    std::vector<uint8_t> LayoutImage() const;
    std::vector<uint8_t> LastFirmware() const;
    int32_t LayoutsStored() const;
    int32_t FirmwareStored() const;

private:
    void Log(const char* direction, const std::vector<uint8_t>& bytes, bool garbled);
    void LogNote(const std::string& text);
    void Keep(const char* stem, const char* extension, int32_t number, const std::vector<uint8_t>& bytes,
              bool withTemplateMagic);
    uint32_t ToolBaud() const;
    void Send(const CPanelModel::TOutput& piece);

    TSimOptions m_options;
    CPanelModel m_model;
    std::string m_path;
    int m_master = -1;
    int m_slave = -1;  // held open so the terminal outlives the tool's closes
    int m_wake[2] = {-1, -1};
    FILE* m_log = nullptr;
    uint64_t m_started = 0;
    uint32_t m_noise = 0x2545F491u;

    mutable std::mutex m_mutex;
    std::vector<uint8_t> m_layout;
    std::vector<uint8_t> m_firmware;
    int32_t m_layoutsStored = 0;
    int32_t m_firmwareStored = 0;
};
