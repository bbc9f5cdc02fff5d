#pragma once

#include "Clock.h"
#include "ProgressSink.h"
#include "SerialLine.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// Limits of the link. The panel is expected to answer everything; these keep a
// silent or confused panel from holding the tool forever.
constexpr int32_t kReplyBufferSize = 200;
constexpr uint32_t kReplyWindowMs = 500;
constexpr int32_t kMaxEmptyWindows = 20;        // WaitForReply gives up after 10 s
constexpr int32_t kMaxDrainWindows = 20;        // a port still sending after 10 s is not drained
constexpr int32_t kMaxBlockAttempts = 10;       // sends of one refused block, requests of one bad block
constexpr int32_t kMinLayoutDownload = 4;       // the 4-byte header
constexpr int32_t kMaxLayoutDownload = 1 << 20;
constexpr int32_t kUploadBufferSize = 512000;
constexpr int64_t kMaxFirmwareBytes = int64_t{16} << 20;

enum class ELinkOutcome
{
    Ok,
    NoResponse,  // the panel did not answer "%reqinfo\n" with "%return"
    NoLayout,    // the panel's answer to "%reqlayout\n" did not begin with "%return"
    Failed,      // a limit ended the transfer; the link is back at 9600 baud
    Refused,     // bad input: nothing was sent
    SerialError, // a system call on the port failed (systemError)
    Cancelled,   // stopped on request; the link is back at 9600 baud
};

// What an operation leaves behind, for the main window's message pane and
// buttons, or for qelctl's output.
struct TLinkResult
{
    ELinkOutcome outcome = ELinkOutcome::Ok;
    std::string message;        // replaces the message pane; empty leaves it as it is
    bool connected = false;     // the port is open (the button reads "Disconnect")
    bool uploadAllowed = false; // Upload Layout may be enabled
    bool answered = false;      // the panel answered the version request
    std::optional<int32_t> firmwareVersion;
    std::optional<int32_t> hardwareVersion;
    bool layoutLoaded = false;  // a downloaded layout was accepted by the loader
    bool endConfirmed = false;  // the panel answered the end record with "%return 0\r\n"
    uint32_t systemError = 0;   // errno of a SerialError
};

// Thrown by the pieces of an operation when its cancel flag is set.
struct CLinkCancelled
{
};

// Receives the downloaded layout byte image (without the panel's 4-byte
// header); false when the bytes are not a layout, in which case the document
// must be as it was.
using TLayoutLoader = std::function<bool(const uint8_t* bytes, int32_t length)>;

// The two kinds of outbound transfer differ only in their pauses and end command.
struct TBlockVariant
{
    uint32_t pauseAfterHighBaud;
    const char* endCommand;
    uint32_t pauseAfterEndRecord;
    uint32_t pauseBeforeLowBaud;

    static const TBlockVariant kLayout;
    static const TBlockVariant kFirmware;
};

// Every exchange with the panel: the connection handshake, the layout
// download, the layout upload and the firmware upgrade, with their framing.
// It moves and checks bytes; what a layout contains is the caller's business.
class CPanelLink
{
public:
    // A line of the kind each opened port names (a device path or an
    // rfc2217:// network port) and the steady clock.
    CPanelLink();
    CPanelLink(std::unique_ptr<ISerialLine> line, IClock& clock);
    CPanelLink(const CPanelLink&) = delete;
    CPanelLink& operator=(const CPanelLink&) = delete;
    ~CPanelLink();

    bool IsConnected() const { return m_connected; }

    // A flag another thread or a signal handler may set to stop the operation
    // under way. It is looked at between reads and blocks, so the wire timing
    // stays as it is until it is set; then a transfer at 115200 baud sends
    // "%lowbaud\n", returns to 9600 baud and ends with ELinkOutcome::Cancelled.
    // The pieces below throw CLinkCancelled. Null: never stopped.
    void SetCancelFlag(const std::atomic<bool>* cancel) { m_cancel = cancel; }
    bool CancelRequested() const { return m_cancel != nullptr && m_cancel->load(); }
    ISerialLine& Line() { return *m_line; }

    // Opens the port at path, drains it, sends the probe "$QPW\r\n" and reads
    // (and ignores) the answer; the link is then connected. Throws
    // CSerialException (or CLinkCancelled).
    void OpenSelectedPort(const std::string& path);
    // OpenSelectedPort as a result: a port that cannot be opened gives the
    // message "Could not open PATH" with the reason (no such device, busy,
    // permission denied and the fix).
    TLinkResult TryOpen(const std::string& path);
    // Closes the port; nothing is sent.
    void Disconnect();

    // The whole of Connect: opens the port (told to messages as soon as it is
    // open), asks for the versions (shown through messages as soon as known)
    // and downloads the panel's layout.
    TLinkResult Connect(const std::string& path, IProgressSink& progress, const TLayoutLoader& loader,
                        IMessageSink* messages = nullptr);
    // The version request on a connected link, up to its message.
    TLinkResult RequestInfo();
    // Downloads the stored layout and hands it to loader; the link must be connected at 9600 baud.
    TLinkResult RunLayoutDownload(int32_t firmwareVersion, IProgressSink& progress, const TLayoutLoader& loader);
    // Sends a layout byte image (length -1: it did not fit the upload buffer).
    TLinkResult UploadLayout(const uint8_t* image, int32_t length, IProgressSink& progress);
    // Sends a firmware image, then closes the port for the panel's restart.
    TLinkResult UpgradeFirmware(const uint8_t* bytes, int64_t length, IProgressSink& progress);

    // The pieces the operations are made of.
    void FlushInput(int32_t readSize);
    // One 500 ms window of up to 200 bytes into reply; ends early only when full.
    int32_t ReadReplyWindow(uint8_t* reply);
    // Windows until one brings bytes; 0 after kMaxEmptyWindows empty ones.
    int32_t WaitForReply(uint8_t* reply);
    // Windows until one is empty, everything read discarded; false when the
    // port was still sending after kMaxDrainWindows of them.
    bool DrainUntilQuiet(uint8_t* reply);

    enum class ESendEnd
    {
        Done,
        Refused, // a block was refused kMaxBlockAttempts times
        NoReply, // the panel stopped answering
        Chatter, // the input never went quiet: nothing was sent
    };
    // Sends image in block records and closes with the variant's end command and
    // an end record; back at 9600 baud whatever the outcome. failedBlock names the
    // block that ended a failed transfer. Throws CSerialException, or
    // CLinkCancelled with the line possibly still at 115200 baud.
    ESendEnd SendBlockImage(const uint8_t* image, int32_t length, const TBlockVariant& variant,
                            IProgressSink& progress, int32_t& failedBlock, bool& endConfirmed);

private:
    void CheckCancel() const;
    void SetHighBaud();
    void ReturnToLowBaud(uint32_t pause);
    TLinkResult Cancelled(const char* outcome);
    TLinkResult SerialFailure(uint32_t error);

    std::unique_ptr<ISerialLine> m_line;
    IClock& m_clock;
    bool m_connected = false;
    bool m_highBaud = false;
    const std::atomic<bool>* m_cancel = nullptr;
};
