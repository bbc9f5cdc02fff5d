#include "PanelModel.h"

#include "BlockRecord.h"
#include "Crc32.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{

constexpr uint32_t kRecordPatienceMs = 1000;  // a record that stops arriving is given up
constexpr uint32_t kRestartMs = 1500;          // deaf while restarting after new firmware
constexpr uint32_t kSplitGapMs = 600;          // longer than a reply window
constexpr uint32_t kHighBaudIdleMs = 15000;    // a tool that vanished mid-transfer leaves us at 9600 again
constexpr uint32_t kChatterMs = 200;           // the chatter fault's byte comes this often
constexpr int32_t kMaxIncomingBlocks = (16 << 20) / kBlockDataSize + 1;
constexpr size_t kMaxLine = 64;
constexpr char kAck[] = "%return 0\r\n";
constexpr char kRefuse[] = "%return 1\r\n";
constexpr char kReject[] = "%return 2\r\n";

// The panel chooses its download block sizes; varying them keeps the tool honest.
constexpr int32_t kBlockSizes[] = {1000, 1000, 763, 1000, 517, 998, 1000, 250};

} // namespace

CPanelModel::CPanelModel(TSettings settings, std::vector<uint8_t> layoutImage)
    : m_settings(std::move(settings)), m_spent(m_settings.faults.size(), false), m_layout(std::move(layoutImage))
{
    m_chatter = HasFault(ESimFault::Chatter);
}

void CPanelModel::Note(const std::string& text)
{
    if (onEvent)
        onEvent(text);
}

void CPanelModel::Say(const std::vector<uint8_t>& bytes, uint32_t delayMs)
{
    uint64_t due = m_now + delayMs;
    if (!m_output.empty())
        due = std::max(due, m_output.back().due);
    m_output.push_back({due, m_baud, bytes});
}

void CPanelModel::Say(const std::string& text, uint32_t delayMs)
{
    Say(std::vector<uint8_t>(text.begin(), text.end()), delayMs);
}

bool CPanelModel::HasFault(ESimFault kind, int32_t* value) const
{
    for (const TSimFault& f : m_settings.faults)
    {
        if (f.kind == kind)
        {
            if (value != nullptr)
                *value = f.value;
            return true;
        }
    }
    return false;
}

bool CPanelModel::TakeFault(ESimFault kind, int32_t& value)
{
    for (size_t i = 0; i < m_settings.faults.size(); ++i)
    {
        if (m_settings.faults[i].kind == kind && !m_spent[i])
        {
            m_spent[i] = true;
            value = m_settings.faults[i].value;
            return true;
        }
    }
    return false;
}

bool CPanelModel::Fault(ESimFault kind, int32_t n)
{
    for (size_t i = 0; i < m_settings.faults.size(); ++i)
    {
        const TSimFault& f = m_settings.faults[i];
        if (f.kind != kind || m_spent[i])
            continue;
        const bool hit = kind == ESimFault::SilentAfter ? n > f.value : n == f.value;
        if (hit)
        {
            m_spent[i] = true;
            return true;
        }
    }
    return false;
}

uint64_t CPanelModel::NextOutputDue() const
{
    return m_output.empty() ? UINT64_MAX : m_output.front().due;
}

uint64_t CPanelModel::NextDeadline() const
{
    uint64_t next = m_state == EState::Text ? UINT64_MAX : m_recordDeadline;
    if (m_baud != 9600)
        next = std::min(next, m_lastHeard + kHighBaudIdleMs);
    if (m_chatter)
        next = std::min(next, m_nextChatter);
    return next;
}

bool CPanelModel::TakeOutput(uint64_t nowMs, TOutput& out)
{
    if (m_output.empty() || m_output.front().due > nowMs)
        return false;
    out = std::move(m_output.front());
    m_output.pop_front();
    return true;
}

void CPanelModel::Tick(uint64_t nowMs)
{
    m_now = std::max(m_now, nowMs);
    if (m_chatter && m_now >= m_nextChatter)
    {
        // One byte a tick, at 9600 baud whatever the tool set; a late tick
        // does not make up for the bytes it missed.
        m_output.push_back({m_now, 9600, {'.'}});
        m_nextChatter = m_now + kChatterMs;
    }
    if (m_baud != 9600 && m_now >= m_lastHeard + kHighBaudIdleMs)
    {
        Note("nothing heard for a while: back to 9600 baud");
        m_baud = 9600;
        m_silent = false;
    }
    if (m_state != EState::Text && m_now >= m_recordDeadline)
    {
        Note("gave up a record after " + std::to_string(m_record.size()) + " bytes");
        m_state = EState::Text;
        m_record.clear();
    }
}

void CPanelModel::Receive(const uint8_t* bytes, size_t length, uint64_t nowMs)
{
    Tick(nowMs);
    m_lastHeard = m_now;
    if (m_now < m_deafUntil || m_chatter)
        return;
    for (size_t i = 0; i < length; ++i)
    {
        const uint8_t b = bytes[i];
        if (m_state == EState::Text)
        {
            if (b == '\n')
            {
                std::string line;
                line.swap(m_line);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                // A command starts at its '%' or '$': noise heard before it is not part of it.
                const size_t start = line.find_last_of("%$");
                Command(start == std::string::npos ? line : line.substr(start));
            }
            else
            {
                if (m_line.size() == kMaxLine)
                    m_line.erase(m_line.begin());
                m_line.push_back(static_cast<char>(b));
            }
            continue;
        }
        m_record.push_back(b);
        m_recordDeadline = m_now + kRecordPatienceMs;
        if (m_state == EState::Record && m_record.size() == TBlockRecord::kSize)
        {
            m_state = EState::Text;
            BlockRecord(m_record.data());
            m_record.clear();
        }
        else if (m_state == EState::EndRecord && m_record.size() == TEndRecord::kSize)
        {
            m_state = EState::Text;
            EndRecord(m_record.data());
            m_record.clear();
        }
    }
}

void CPanelModel::Command(const std::string& line)
{
    if (line == "%lowbaud")
    {
        if (m_silent)
            Note("speaking again");
        m_silent = false;
        m_baud = 9600;
        return;
    }
    if (m_silent)
        return;
    if (line == "$QPW")
        Say("QEL-1\r\n");
    else if (line == "%reqinfo")
    {
        int32_t firmware = m_settings.firmwareVersion;
        if (HasFault(ESimFault::NoInfo))
            return;
        HasFault(ESimFault::OldFirmware, &firmware);
        Say("%return " + std::to_string(firmware) + " " + std::to_string(m_settings.hardwareVersion) + "\r\n");
    }
    else if (line == "%highbaud")
        m_baud = 115200;
    else if (line == "%reqlayout")
    {
        m_stored.assign(4, 0);
        PutLe32(m_stored.data(), static_cast<uint32_t>(m_layout.size()));
        m_stored.insert(m_stored.end(), m_layout.begin(), m_layout.end());
        m_served.clear();
        Say("%return " + std::to_string(m_stored.size()) + " " +
            std::to_string(ComputeCrc32(m_stored.data(), m_stored.size())) + "\r\n");
    }
    else if (line.rfind("%reqblock ", 0) == 0)
    {
        char* end = nullptr;
        const long index = std::strtol(line.c_str() + 10, &end, 10);
        if (end != line.c_str() + 10 && *end == '\0' && index >= 0 && index < INT32_MAX)
            ServeBlock(static_cast<int32_t>(index));
    }
    else if (line == "%binblock")
    {
        m_state = EState::Record;
        m_recordDeadline = m_now + kRecordPatienceMs;
    }
    else if (line == "%endlayout" || line == "%endblock")
    {
        m_state = EState::EndRecord;
        m_endIsFirmware = line == "%endblock";
        m_recordDeadline = m_now + kRecordPatienceMs;
    }
}

void CPanelModel::ServeBlock(int32_t index)
{
    if (Fault(ESimFault::SilentAfter, index + 1))
    {
        Note("going silent at download block " + std::to_string(index + 1));
        m_silent = true;
        return;
    }
    const int32_t total = static_cast<int32_t>(m_stored.size());
    if (index == static_cast<int32_t>(m_served.size()))
    {
        const int32_t offset = m_served.empty() ? 0 : m_served.back().first + m_served.back().second;
        const int32_t size = std::min(kBlockSizes[index % std::size(kBlockSizes)], total - offset);
        if (size > 0)
            m_served.emplace_back(offset, size);
    }
    uint8_t header[TBlockReplyHeader::kSize];
    if (index >= static_cast<int32_t>(m_served.size()))
    {
        // Nothing there: an empty block, which the tool does not take.
        TBlockReplyHeader{0, 0}.Encode(header);
        Say(std::vector<uint8_t>(header, header + sizeof header));
        return;
    }
    const auto [offset, size] = m_served[static_cast<size_t>(index)];
    const uint8_t* data = m_stored.data() + offset;
    TBlockReplyHeader h{size, ComputeCrc32(data, static_cast<size_t>(size))};
    size_t sent = static_cast<size_t>(size);
    if (Fault(ESimFault::CorruptBlock, index + 1))
    {
        Note("corrupting download block " + std::to_string(index + 1));
        h.crc ^= 0x5A5A5A5Au;
    }
    else if (Fault(ESimFault::BadLength, index + 1))
    {
        // An impossible length followed by a short stray piece, as a confused
        // panel might send it.
        Note("announcing a bad length for download block " + std::to_string(index + 1));
        h.length = 4096;
        sent = std::min<size_t>(sent, 64);
    }
    h.Encode(header);
    std::vector<uint8_t> reply;
    reply.reserve(sizeof header + sent);
    reply.insert(reply.end(), header, header + sizeof header);
    reply.insert(reply.end(), data, data + sent);
    Say(reply);
}

void CPanelModel::BlockRecord(const uint8_t* bytes)
{
    const TBlockRecord r = TBlockRecord::Decode(bytes);
    if (Fault(ESimFault::SilentAfter, r.index + 1))
    {
        Note("going silent at upload block " + std::to_string(r.index + 1));
        m_silent = true;
        return;
    }
    if (m_silent)
        return;
    if (r.count < 1 || r.count > kMaxIncomingBlocks || r.index < 0 || r.index >= r.count)
    {
        Say(kRefuse);
        return;
    }
    // Block 0 opens a transfer unless it is a repeat of the block just taken.
    if (r.index == 0 && (m_accepted != 1 || m_incomingCount != r.count))
    {
        m_incomingCount = r.count;
        m_accepted = 0;
        m_incoming.assign(static_cast<size_t>(r.count) * kBlockDataSize, 0);
    }
    if (r.count != m_incomingCount || r.index > m_accepted ||
        ComputeCrc32(r.data.data(), r.data.size()) != r.crc)
    {
        Note("refusing block " + std::to_string(r.index + 1));
        Say(kRefuse);
        return;
    }
    if (Fault(ESimFault::RefuseBlock, r.index + 1))
    {
        Note("refusing block " + std::to_string(r.index + 1) + " (fault)");
        Say(kRefuse);
        return;
    }
    std::memcpy(m_incoming.data() + static_cast<size_t>(r.index) * kBlockDataSize, r.data.data(), r.data.size());
    if (r.index == m_accepted)
        ++m_accepted;
    if (Fault(ESimFault::SplitAck, r.index + 1))
    {
        Note("splitting the acknowledgement of block " + std::to_string(r.index + 1));
        Say("%return");
        Say(" 0\r\n", kSplitGapMs);
        return;
    }
    Say(kAck);
}

void CPanelModel::EndRecord(const uint8_t* bytes)
{
    if (m_silent)
        return;
    const TEndRecord e = TEndRecord::Decode(bytes);
    const int64_t lowest = int64_t{m_incomingCount - 1} * kBlockDataSize;
    const bool agrees = m_incomingCount > 0 && m_accepted == m_incomingCount && e.lastIndex == m_incomingCount - 1 &&
                        e.length >= lowest && e.length < lowest + kBlockDataSize &&
                        ComputeCrc32(m_incoming.data(), static_cast<size_t>(e.length)) == e.crc;
    if (!agrees)
    {
        Note("end record does not agree with the blocks; nothing stored");
        m_incomingCount = m_accepted = 0;
        Say(kReject);
        return;
    }
    std::vector<uint8_t> image(m_incoming.begin(), m_incoming.begin() + e.length);
    m_incoming.clear();
    m_incomingCount = m_accepted = 0;
    Say(kAck);
    if (m_endIsFirmware)
    {
        if (onFirmwareStored)
            onFirmwareStored(image);
        Restart();
    }
    else
    {
        int32_t at = 0;
        if (!image.empty() && TakeFault(ESimFault::CorruptStore, at))
        {
            const size_t index = std::min(static_cast<size_t>(at), image.size() - 1);
            image[index] = static_cast<uint8_t>(image[index] ^ 0xFF);
            Note("layout stored with byte " + std::to_string(index) + " changed");
        }
        m_layout = std::move(image);
        if (onLayoutStored)
            onLayoutStored(m_layout);
    }
}

void CPanelModel::Restart()
{
    ++m_restarts;
    Note("restarting with the new firmware");
    m_baud = 9600;
    m_silent = false;
    m_state = EState::Text;
    m_line.clear();
    m_deafUntil = m_now + kRestartMs;
}
