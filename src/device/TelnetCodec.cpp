#include "TelnetCodec.h"

#include <algorithm>

namespace
{

// Longest subnegotiation kept; a longer one is cut (RFC 2217 values are short).
constexpr size_t kMaxSub = 64;

} // namespace

CTelnetCodec::CTelnetCodec()
{
    std::fill(std::begin(m_us), std::end(m_us), EQ::No);
    std::fill(std::begin(m_him), std::end(m_him), EQ::No);
}

bool CTelnetCodec::WeDo(uint8_t option)
{
    return option == kOptBinary || option == kOptSuppressGoAhead || option == kOptComPort;
}

bool CTelnetCodec::HeMay(uint8_t option)
{
    return option == kOptBinary || option == kOptSuppressGoAhead;
}

std::vector<uint8_t> CTelnetCodec::Greeting()
{
    std::vector<uint8_t> out;
    for (uint8_t option : {kOptBinary, kOptSuppressGoAhead, kOptComPort})
    {
        out.insert(out.end(), {kIac, kWill, option});
        m_us[option] = EQ::Want;
    }
    for (uint8_t option : {kOptBinary, kOptSuppressGoAhead})
    {
        out.insert(out.end(), {kIac, kDo, option});
        m_him[option] = EQ::Want;
    }
    return out;
}

void CTelnetCodec::Encode(const uint8_t* data, size_t length, std::vector<uint8_t>& out)
{
    out.reserve(out.size() + length + 8);
    for (size_t i = 0; i < length; ++i)
    {
        out.push_back(data[i]);
        if (data[i] == kIac)
            out.push_back(kIac);
    }
}

std::vector<uint8_t> CTelnetCodec::ComPortCommand(uint8_t command, const std::vector<uint8_t>& value)
{
    std::vector<uint8_t> out{kIac, kSb, kOptComPort, command};
    Encode(value.data(), value.size(), out);
    out.insert(out.end(), {kIac, kSe});
    return out;
}

std::vector<uint8_t> CTelnetCodec::SetBaudRate(uint32_t baud)
{
    return ComPortCommand(kSetBaudRate, {static_cast<uint8_t>(baud >> 24), static_cast<uint8_t>(baud >> 16),
                                         static_cast<uint8_t>(baud >> 8), static_cast<uint8_t>(baud)});
}

void CTelnetCodec::Decode(const uint8_t* raw, size_t length, std::vector<uint8_t>& data,
                          std::vector<uint8_t>& replies)
{
    for (size_t i = 0; i < length; ++i)
    {
        const uint8_t b = raw[i];
        switch (m_state)
        {
        case EState::Data:
            if (b == kIac)
                m_state = EState::Iac;
            else
                data.push_back(b);
            break;
        case EState::Iac:
            if (b == kIac)
            {
                data.push_back(kIac);
                m_state = EState::Data;
            }
            else if (b >= kWill && b <= kDont)
            {
                m_verb = b;
                m_state = EState::Verb;
            }
            else if (b == kSb)
            {
                m_sub.clear();
                m_state = EState::Sub;
            }
            else
            {
                // NOP, go-ahead, a stray SE and the like carry nothing for us.
                m_state = EState::Data;
            }
            break;
        case EState::Verb:
            Negotiate(m_verb, b, replies);
            m_state = EState::Data;
            break;
        case EState::Sub:
            if (b == kIac)
                m_state = EState::SubIac;
            else if (m_sub.size() < kMaxSub)
                m_sub.push_back(b);
            break;
        case EState::SubIac:
            if (b == kIac)
            {
                if (m_sub.size() < kMaxSub)
                    m_sub.push_back(kIac);
                m_state = EState::Sub;
            }
            else
            {
                // SE, or anything else that ends it on a broken stream.
                EndSub();
                m_state = EState::Data;
            }
            break;
        }
    }
}

void CTelnetCodec::EndSub()
{
    if (m_sub.size() == 6 && m_sub[0] == kOptComPort && m_sub[1] == kServerOffset + kSetBaudRate)
    {
        m_lastBaud =
            (uint32_t{m_sub[2]} << 24) | (uint32_t{m_sub[3]} << 16) | (uint32_t{m_sub[4]} << 8) | m_sub[5];
        ++m_baudReplies;
    }
}

void CTelnetCodec::Negotiate(uint8_t verb, uint8_t option, std::vector<uint8_t>& replies)
{
    // Answer only what changes an option's state, so that two ends never loop.
    switch (verb)
    {
    case kDo:
        if (m_us[option] == EQ::Yes)
            return;
        if (WeDo(option))
        {
            if (m_us[option] == EQ::No)
                replies.insert(replies.end(), {kIac, kWill, option});
            m_us[option] = EQ::Yes;
        }
        else
            replies.insert(replies.end(), {kIac, kWont, option});
        return;
    case kDont:
        if (option == kOptComPort)
            m_comPortRefused = true;
        if (m_us[option] == EQ::Yes)
            replies.insert(replies.end(), {kIac, kWont, option});
        m_us[option] = EQ::No;
        return;
    case kWill:
        if (m_him[option] == EQ::Yes)
            return;
        if (HeMay(option))
        {
            if (m_him[option] == EQ::No)
                replies.insert(replies.end(), {kIac, kDo, option});
            m_him[option] = EQ::Yes;
        }
        else
            replies.insert(replies.end(), {kIac, kDont, option});
        return;
    default: // kWont
        if (m_him[option] == EQ::Yes)
            replies.insert(replies.end(), {kIac, kDont, option});
        m_him[option] = EQ::No;
        return;
    }
}
