#include "PanelLink.h"

#include "Pauses.h"

#include "BlockRecord.h"
#include "Crc32.h"
#include "FirmwareFile.h"
#include "PortLine.h"
#include "SerialPort.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

const TBlockVariant TBlockVariant::kLayout{100, "%endlayout\n", 10, 20};
const TBlockVariant TBlockVariant::kFirmware{50, "%endblock\n", 5, 0};

namespace
{

constexpr char kReturn[] = "%return";
constexpr size_t kReturnLength = 7;
constexpr char kAck[] = "%return 0\r\n";
constexpr size_t kAckLength = 11;

constexpr char kMsgNoResponse[] = "No response after connection\r\nFirmware version may be pre 2.00\r\n";
constexpr char kMsgDownloaded[] = "Downloaded layout from control\r\n";
constexpr char kMsgFirmwareDone[] = "Firmware updated\r\nControl will restart automaticaly\r\nDisconnected\r\n";
constexpr char kMsgNoLayoutReply[] = "No response from control\r\nLayout not downloaded\r\n";
constexpr char kMsgBadLayoutSize[] = "Control reported no valid layout size\r\nLayout not downloaded\r\n";
constexpr char kMsgLayoutUnreadable[] = "Layout from control could not be read\r\nLayout unchanged\r\n";
constexpr char kMsgLayoutTooLarge[] = "Layout too large to upload\r\nNothing sent\r\n";
constexpr char kMsgNotConnected[] = "Not connected\r\nNothing sent\r\n";

bool StartsWithReturn(const uint8_t* reply, int32_t length)
{
    return length >= static_cast<int32_t>(kReturnLength) && std::memcmp(reply, kReturn, kReturnLength) == 0;
}

// Reads decimal integers separated by white space from the reply text after
// "%return", the way the panel writes them. A field that is missing, not a
// number or out of range ends the list.
class CReplyFields
{
public:
    CReplyFields(const uint8_t* reply, int32_t length) : m_text(reinterpret_cast<const char*>(reply), length)
    {
        m_pos = kReturnLength;
    }

    // Passes over the reply's first word, "%return" and whatever sticks to it:
    // the layout size is the first field after that word.
    void SkipFirstWord()
    {
        m_pos = 0;
        while (m_pos < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }

    std::optional<int64_t> Next(int64_t min, int64_t max)
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
        size_t p = m_pos;
        bool negative = false;
        if (p < m_text.size() && (m_text[p] == '-' || m_text[p] == '+'))
            negative = m_text[p++] == '-';
        if (p >= m_text.size() || !std::isdigit(static_cast<unsigned char>(m_text[p])))
            return std::nullopt;
        int64_t value = 0;
        while (p < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[p])))
        {
            value = value * 10 + (m_text[p++] - '0');
            if (value > (int64_t{1} << 40))
                return std::nullopt;
        }
        m_pos = p;
        if (negative)
            value = -value;
        if (value < min || value > max)
            return std::nullopt;
        return value;
    }

private:
    std::string m_text;
    size_t m_pos;
};

std::string BlockMessage(const char* what, int32_t block, int32_t count, const char* outcome)
{
    char text[160];
    if (count > 0)
        std::snprintf(text, sizeof text, "%s %d of %d\r\n%s\r\n", what, block + 1, count, outcome);
    else
        std::snprintf(text, sizeof text, "%s %d\r\n%s\r\n", what, block + 1, outcome);
    return text;
}

// The message of an outbound transfer that ended before its end record.
std::string SendFailure(CPanelLink::ESendEnd end, int32_t block, int32_t count, const char* outcome)
{
    switch (end)
    {
    case CPanelLink::ESendEnd::Refused:
        return BlockMessage("Control refused block", block, count, outcome);
    case CPanelLink::ESendEnd::NoReply:
        return BlockMessage("No response from control after block", block, count, outcome);
    default:
        return std::string("Control keeps sending data\r\n") + outcome + "\r\n";
    }
}

// Ends the progress report however the transfer ends.
class CProgressScope
{
public:
    CProgressScope(IProgressSink& sink, bool reading) : m_sink(sink) { m_sink.Begin(reading); }
    ~CProgressScope() { m_sink.End(); }
    CProgressScope(const CProgressScope&) = delete;
    CProgressScope& operator=(const CProgressScope&) = delete;

private:
    IProgressSink& m_sink;
};

// Sets a cancel flag aside for a scope and puts it back however it is left.
class CCancelPause
{
public:
    explicit CCancelPause(const std::atomic<bool>*& flag) : m_flag(flag), m_saved(flag) { flag = nullptr; }
    ~CCancelPause() { m_flag = m_saved; }
    CCancelPause(const CCancelPause&) = delete;
    CCancelPause& operator=(const CCancelPause&) = delete;

private:
    const std::atomic<bool>*& m_flag;
    const std::atomic<bool>* m_saved;
};

} // namespace

CPanelLink::CPanelLink() : CPanelLink(std::make_unique<CPortLine>(), CSteadyClock::Instance()) {}

CPanelLink::CPanelLink(std::unique_ptr<ISerialLine> line, IClock& clock) : m_line(std::move(line)), m_clock(clock) {}

CPanelLink::~CPanelLink() = default;

void CPanelLink::FlushInput(int32_t readSize)
{
    std::vector<uint8_t> scratch(static_cast<size_t>(readSize));
    while (m_line->ReadAvailable(scratch.data(), readSize) > 0)
    {
    }
}

void CPanelLink::CheckCancel() const
{
    if (CancelRequested())
        throw CLinkCancelled{};
}

void CPanelLink::SetHighBaud()
{
    m_line->SetBaudRate(115200);
    m_highBaud = true;
}

// Ends an operation stopped on request: a panel left at 115200 baud would
// not understand the next command, so it is told to return to 9600 first.
TLinkResult CPanelLink::Cancelled(const char* outcome)
{
    TLinkResult r;
    r.outcome = ELinkOutcome::Cancelled;
    r.message = std::string("Cancelled\r\n") + outcome;
    try
    {
        if (m_highBaud)
            ReturnToLowBaud(0);
    }
    catch (const CSerialException&)
    {
    }
    r.connected = m_connected && m_line->IsOpen();
    return r;
}

int32_t CPanelLink::ReadReplyWindow(uint8_t* reply)
{
    CheckCancel();
    return m_line->Read(reply, kReplyBufferSize, kReplyWindowMs);
}

int32_t CPanelLink::WaitForReply(uint8_t* reply)
{
    for (int32_t window = 0; window < kMaxEmptyWindows; ++window)
    {
        const int32_t n = ReadReplyWindow(reply);
        if (n > 0)
            return n;
    }
    return 0;
}

bool CPanelLink::DrainUntilQuiet(uint8_t* reply)
{
    for (int32_t window = 0; window < kMaxDrainWindows; ++window)
    {
        if (ReadReplyWindow(reply) == 0)
            return true;
    }
    return false;
}

void CPanelLink::OpenSelectedPort(const std::string& path)
{
    m_highBaud = false;
    m_line->Open(path);
    m_line->SetTimeouts();
    FlushInput(800);
    m_line->Write("$QPW\r\n");
    m_clock.SleepMs(kPauseAfterProbeMs);
    CheckCancel();
    uint8_t reply[kReplyBufferSize];
    m_line->Read(reply, kReplyBufferSize, 1000);
    CheckCancel();
    m_connected = true;
}

void CPanelLink::Disconnect()
{
    m_line->Close();
    m_connected = false;
    m_highBaud = false;
}

TLinkResult CPanelLink::TryOpen(const std::string& path)
{
    TLinkResult r;
    try
    {
        OpenSelectedPort(path);
        r.connected = true;
    }
    catch (const CSerialException& e)
    {
        r.outcome = ELinkOutcome::SerialError;
        r.systemError = e.m_error;
        r.message = "Could not open " + path + "\r\n" + DescribeOpenError(e.m_error) + "\r\n";
        m_connected = false;
        m_line->Close();
    }
    catch (const CLinkCancelled&)
    {
        m_connected = false;
        m_line->Close();
        return Cancelled("");
    }
    return r;
}

TLinkResult CPanelLink::SerialFailure(uint32_t error)
{
    TLinkResult r;
    r.outcome = ELinkOutcome::SerialError;
    r.systemError = error;
    r.message = "Serial port error\r\n" + CSerialException(error).GetErrorMessage() + "\r\n";
    r.connected = m_connected && m_line->IsOpen();
    return r;
}

TLinkResult CPanelLink::RequestInfo()
{
    TLinkResult r;
    r.connected = true;
    try
    {
        FlushInput(kReplyBufferSize);
        m_line->Write("%reqinfo\n");
        m_clock.SleepMs(kPauseAfterInfoRequestMs);
        CheckCancel();
        uint8_t reply[kReplyBufferSize];
        const int32_t n = m_line->Read(reply, kReplyBufferSize, 1000);
        CheckCancel();
        if (!StartsWithReturn(reply, n))
        {
            r.outcome = ELinkOutcome::NoResponse;
            r.message = kMsgNoResponse;
            return r;
        }
        r.answered = true;
        CReplyFields fields(reply, n);
        if (const auto f = fields.Next(INT32_MIN, INT32_MAX))
        {
            r.firmwareVersion = static_cast<int32_t>(*f);
            if (const auto h = fields.Next(INT32_MIN, INT32_MAX))
                r.hardwareVersion = static_cast<int32_t>(*h);
        }
        const auto show = [](const std::optional<int32_t>& v) { return v ? std::to_string(*v) : "unknown"; };
        r.message = "Connected Succesfully\r\nHardware Version: " + show(r.hardwareVersion) +
                    "\r\nFirmware Version: " + show(r.firmwareVersion) + "\r\n";
        return r;
    }
    catch (const CSerialException& e)
    {
        return SerialFailure(e.m_error);
    }
    catch (const CLinkCancelled&)
    {
        return Cancelled("");
    }
}

TLinkResult CPanelLink::Connect(const std::string& path, IProgressSink& progress, const TLayoutLoader& loader,
                                IMessageSink* messages)
{
    if (TLinkResult opened = TryOpen(path); opened.outcome != ELinkOutcome::Ok)
        return opened;
    if (messages != nullptr)
        messages->PortOpened();
    TLinkResult info = RequestInfo();
    if (info.outcome != ELinkOutcome::Ok)
        return info;
    if (messages != nullptr)
        messages->ShowMessage(info.message);
    TLinkResult r = RunLayoutDownload(info.firmwareVersion.value_or(0), progress, loader);
    r.answered = true;
    r.firmwareVersion = info.firmwareVersion;
    r.hardwareVersion = info.hardwareVersion;
    if (r.message.empty())
        r.message = info.message;
    return r;
}

void CPanelLink::ReturnToLowBaud(uint32_t pause)
{
    if (pause > 0)
        m_clock.SleepMs(pause);
    m_line->Write("%lowbaud\n");
    m_clock.SleepMs(kPauseAfterLowBaudMs);
    m_line->SetBaudRate(9600);
    m_highBaud = false;
}

TLinkResult CPanelLink::RunLayoutDownload(int32_t firmwareVersion, IProgressSink& progress,
                                          const TLayoutLoader& loader)
{
    TLinkResult r;
    r.connected = true;
    r.answered = true;
    try
    {
        m_line->Write("%highbaud\n");
        m_clock.SleepMs(kPauseAfterDownloadHighBaudMs);
        SetHighBaud();
        m_clock.SleepMs(kSettleAfterHighBaudMs);
        CheckCancel();
        m_line->Write("%reqlayout\n");

        uint8_t reply[kReplyBufferSize];
        const int32_t n = WaitForReply(reply);
        std::optional<int64_t> total;
        if (n == 0)
        {
            r.outcome = ELinkOutcome::Failed;
            r.message = kMsgNoLayoutReply;
        }
        else if (!StartsWithReturn(reply, n))
        {
            r.outcome = ELinkOutcome::NoLayout;
        }
        else
        {
            CReplyFields fields(reply, n);
            fields.SkipFirstWord();
            total = fields.Next(INT32_MIN, INT32_MAX);
            if (!total || *total < kMinLayoutDownload || *total > kMaxLayoutDownload)
            {
                total.reset();
                r.outcome = ELinkOutcome::Failed;
                r.message = kMsgBadLayoutSize;
            }
        }

        if (total)
        {
            const int32_t t = static_cast<int32_t>(*total);
            CProgressScope scope(progress, true);
            std::vector<uint8_t> image(static_cast<size_t>(t));
            uint8_t block[kBlockDataSize];
            int32_t index = 0;
            int32_t received = 0;
            int32_t attempts = 0;
            while (received < t)
            {
                if (attempts == kMaxBlockAttempts)
                {
                    r.outcome = ELinkOutcome::Failed;
                    r.message = BlockMessage("Could not read block", index, 0, "Layout not downloaded");
                    break;
                }
                CheckCancel();
                ++attempts;
                progress.SetPosition(static_cast<int32_t>(int64_t{received} * 1000 / t));
                char command[32];
                std::snprintf(command, sizeof command, "%%reqblock %d\n", index);
                m_line->Write(command);

                uint8_t header[TBlockReplyHeader::kSize]{};
                const int32_t h1 = m_line->Read(header, 4, 1000);
                CheckCancel();
                const int32_t h2 = m_line->Read(header + 4, 4, 1000);
                CheckCancel();
                const TBlockReplyHeader head = TBlockReplyHeader::Decode(header);
                if (h1 == 4 && head.length >= 1 && head.length <= kBlockDataSize)
                {
                    // Read into a block of its own: one that would carry the image past
                    // its announced length is bad, not stored. A CRC-32 that came short
                    // matches nothing.
                    const int32_t got = m_line->Read(block, head.length, 2000);
                    if (got == head.length && h2 == 4 && head.length <= t - received &&
                        ComputeCrc32(block, static_cast<size_t>(got)) == head.crc)
                    {
                        std::memcpy(image.data() + received, block, static_cast<size_t>(got));
                        received += got;
                        ++index;
                        attempts = 0;
                    }
                    continue;
                }
                // A header of a length no block has (0 among them) is a bad
                // block: what follows it is discarded and the block asked for
                // again. Only a panel that sent no header has fallen silent.
                if (h1 == 4)
                {
                    ReadReplyWindow(reply);
                    continue;
                }
                if (WaitForReply(reply) == 0)
                {
                    r.outcome = ELinkOutcome::Failed;
                    r.message = kMsgNoLayoutReply;
                    break;
                }
            }
            if (received == t)
            {
                if (loader && loader(image.data() + 4, t - 4))
                {
                    r.layoutLoaded = true;
                    r.message = kMsgDownloaded;
                }
                else
                {
                    r.outcome = ELinkOutcome::Failed;
                    r.message = kMsgLayoutUnreadable;
                }
            }
        }

        ReturnToLowBaud(kPauseBeforeDownloadLowBaudMs);
        r.uploadAllowed = firmwareVersion > 200;
        return r;
    }
    catch (const CSerialException& e)
    {
        return SerialFailure(e.m_error);
    }
    catch (const CLinkCancelled&)
    {
        TLinkResult c = Cancelled("Layout not downloaded\r\n");
        c.answered = true;
        c.uploadAllowed = firmwareVersion > 200;
        return c;
    }
}

CPanelLink::ESendEnd CPanelLink::SendBlockImage(const uint8_t* image, int32_t length, const TBlockVariant& variant,
                                                IProgressSink& progress, int32_t& failedBlock, bool& endConfirmed)
{
    const int32_t count = BlockCountFor(length);
    uint8_t reply[kReplyBufferSize];
    endConfirmed = false;
    failedBlock = -1;

    // A port that never goes quiet is not a panel waiting for us (or one that
    // cannot hear us): it is left at 9600 baud and told nothing.
    if (!DrainUntilQuiet(reply))
        return ESendEnd::Chatter;
    m_line->Write("%highbaud\n");
    m_clock.SleepMs(variant.pauseAfterHighBaud);
    SetHighBaud();
    m_clock.SleepMs(kSettleAfterHighBaudMs);

    uint8_t record[TBlockRecord::kSize];
    for (int32_t index = 0; index < count; ++index)
    {
        TBlockRecord::ForImage(image, length, index).Encode(record);
        bool acknowledged = false;
        for (int32_t attempt = 0; attempt < kMaxBlockAttempts && !acknowledged; ++attempt)
        {
            CheckCancel();
            m_line->Write("%binblock\n");
            m_clock.SleepMs(kPauseBeforeRecordMs);
            m_line->WriteBytes(record, static_cast<int32_t>(sizeof record));
            const int32_t n = WaitForReply(reply);
            if (n == 0)
            {
                failedBlock = index;
                ReturnToLowBaud(variant.pauseBeforeLowBaud);
                return ESendEnd::NoReply;
            }
            acknowledged = n == static_cast<int32_t>(kAckLength) && std::memcmp(reply, kAck, kAckLength) == 0;
        }
        if (!acknowledged)
        {
            failedBlock = index;
            ReturnToLowBaud(variant.pauseBeforeLowBaud);
            return ESendEnd::Refused;
        }
        const int64_t acknowledgedBytes = int64_t{index + 1} * 1000000;
        progress.SetPosition(length > 0 ? static_cast<int32_t>(acknowledgedBytes / length) : 1000);
    }

    CheckCancel();
    m_line->Write(variant.endCommand);
    m_clock.SleepMs(kPauseBeforeRecordMs);
    TEndRecord end{count - 1, length, ComputeCrc32(image, static_cast<size_t>(length))};
    uint8_t endBytes[TEndRecord::kSize];
    end.Encode(endBytes);
    m_line->WriteBytes(endBytes, static_cast<int32_t>(sizeof endBytes));
    // The whole image has gone: the rest is finished even when a stop comes.
    const CCancelPause pause(m_cancel);
    m_clock.SleepMs(variant.pauseAfterEndRecord);
    const int32_t n = WaitForReply(reply);
    endConfirmed = n == static_cast<int32_t>(kAckLength) && std::memcmp(reply, kAck, kAckLength) == 0;
    ReturnToLowBaud(variant.pauseBeforeLowBaud);
    return ESendEnd::Done;
}

TLinkResult CPanelLink::UploadLayout(const uint8_t* image, int32_t length, IProgressSink& progress)
{
    TLinkResult r;
    r.connected = m_connected;
    r.answered = true;
    r.uploadAllowed = true;
    if (!m_connected)
    {
        r.outcome = ELinkOutcome::Refused;
        r.message = kMsgNotConnected;
        r.uploadAllowed = false;
        return r;
    }
    if (length < 0 || length > kUploadBufferSize)
    {
        r.outcome = ELinkOutcome::Refused;
        r.message = kMsgLayoutTooLarge;
        return r;
    }
    try
    {
        CProgressScope scope(progress, false);
        int32_t failed = -1;
        const ESendEnd end = SendBlockImage(image, length, TBlockVariant::kLayout, progress, failed, r.endConfirmed);
        if (end != ESendEnd::Done)
        {
            r.outcome = ELinkOutcome::Failed;
            r.message = SendFailure(end, failed, BlockCountFor(length), "Layout not uploaded");
        }
        return r;
    }
    catch (const CSerialException& e)
    {
        TLinkResult f = SerialFailure(e.m_error);
        f.uploadAllowed = f.connected;
        return f;
    }
    catch (const CLinkCancelled&)
    {
        TLinkResult c = Cancelled("Layout not uploaded\r\n");
        c.answered = true;
        c.uploadAllowed = c.connected;
        return c;
    }
}

TLinkResult CPanelLink::UpgradeFirmware(const uint8_t* bytes, int64_t length, IProgressSink& progress)
{
    TLinkResult r;
    r.connected = m_connected;
    if (!m_connected)
    {
        r.outcome = ELinkOutcome::Refused;
        r.message = kMsgNotConnected;
        return r;
    }
    if (length <= 0 || length > kMaxFirmwareBytes)
    {
        r.outcome = ELinkOutcome::Refused;
        r.message = length <= 0 ? kMsgFirmwareEmpty : kMsgFirmwareTooLarge;
        return r;
    }
    const int32_t l = static_cast<int32_t>(length);
    try
    {
        int32_t failed = -1;
        ESendEnd end;
        {
            CProgressScope scope(progress, false);
            end = SendBlockImage(bytes, l, TBlockVariant::kFirmware, progress, failed, r.endConfirmed);
        }
        if (end != ESendEnd::Done)
        {
            r.outcome = ELinkOutcome::Failed;
            r.message = SendFailure(end, failed, BlockCountFor(l), "Firmware not updated");
            return r;
        }
        m_clock.SleepMs(kPauseBeforeRestartCloseMs);
        Disconnect();
        r.connected = false;
        r.message = kMsgFirmwareDone;
        return r;
    }
    catch (const CSerialException& e)
    {
        return SerialFailure(e.m_error);
    }
    catch (const CLinkCancelled&)
    {
        return Cancelled("Firmware not updated\r\n");
    }
}
