#include "DataStore.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace
{
constexpr size_t kGrowthStep = 4096;
constexpr size_t kMaxStream = static_cast<size_t>(std::numeric_limits<int32_t>::max());
} // namespace

CDataStore::CDataStore(const uint8_t* data, size_t length)
    : m_source(data), m_capacity(static_cast<int32_t>(std::min(length, kMaxStream))), m_storing(false)
{
    if (data == nullptr)
    {
        m_capacity = 0;
    }
}

const uint8_t* CDataStore::GetData() const
{
    if (m_storing)
    {
        return m_buffer.empty() ? nullptr : m_buffer.data();
    }
    return m_source;
}

int32_t CDataStore::Remaining() const
{
    if (m_storing || m_failed)
    {
        return 0;
    }
    return m_capacity - m_position;
}

std::vector<uint8_t> CDataStore::CopyData() const
{
    const uint8_t* data = GetData();
    if (data == nullptr)
    {
        return {};
    }
    return std::vector<uint8_t>(data, data + m_position);
}

// Always to the next multiple of 4096 strictly above what is needed, so a
// stream of exactly 4096 bytes already owns 8192.
void CDataStore::Grow(size_t needed)
{
    if (needed <= static_cast<size_t>(m_capacity))
    {
        return;
    }
    const size_t capacity = (needed / kGrowthStep + 1) * kGrowthStep;
    if (capacity > kMaxStream)
    {
        throw std::bad_alloc();
    }
    m_buffer.resize(capacity);
    m_capacity = static_cast<int32_t>(capacity);
}

void CDataStore::Reserve(int32_t capacity)
{
    if (m_storing && capacity > m_capacity)
    {
        m_buffer.resize(static_cast<size_t>(capacity));
        m_capacity = capacity;
    }
}

void CDataStore::SetPosition(int32_t position)
{
    if (position < 0)
    {
        m_failed = m_failed || !m_storing;
        return;
    }
    if (m_storing)
    {
        Grow(static_cast<size_t>(position));
        m_position = position;
        return;
    }
    if (m_failed)
    {
        return;
    }
    if (position > m_capacity)
    {
        m_failed = true;
        return;
    }
    m_position = position;
}

void CDataStore::WriteBytes(const void* data, size_t length)
{
    if (!m_storing || length == 0)
    {
        return;
    }
    const size_t needed = static_cast<size_t>(m_position) + length;
    Grow(needed);
    std::memcpy(m_buffer.data() + m_position, data, length);
    m_position = static_cast<int32_t>(needed);
}

void CDataStore::WriteInt(int32_t value)
{
    const auto u = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                              static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
    WriteBytes(bytes, sizeof bytes);
}

void CDataStore::WriteByte(uint8_t value)
{
    WriteBytes(&value, 1);
}

void CDataStore::WriteString(const std::u16string& text)
{
    if (!m_storing)
    {
        return;
    }
    if (text.size() > (kMaxStream - 4) / 2)
    {
        throw std::bad_alloc();
    }
    WriteInt(static_cast<int32_t>(text.size()));
    std::vector<uint8_t> bytes(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i)
    {
        bytes[2 * i] = static_cast<uint8_t>(text[i]);
        bytes[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    WriteBytes(bytes.data(), bytes.size());
}

// Checks that length more bytes can be read; fails the stream otherwise.
bool CDataStore::Take(size_t length)
{
    if (m_storing || m_failed)
    {
        return false;
    }
    if (length > static_cast<size_t>(m_capacity - m_position))
    {
        m_failed = true;
        return false;
    }
    return true;
}

int32_t CDataStore::ReadInt()
{
    if (!Take(4))
    {
        return 0;
    }
    const uint8_t* p = m_source + m_position;
    m_position += 4;
    const uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(u);
}

uint8_t CDataStore::ReadByte()
{
    if (!Take(1))
    {
        return 0;
    }
    return m_source[m_position++];
}

bool CDataStore::ReadBytes(void* destination, size_t length)
{
    if (!Take(length))
    {
        return false;
    }
    if (length != 0)
    {
        std::memcpy(destination, m_source + m_position, length);
    }
    m_position += static_cast<int32_t>(length);
    return true;
}

void CDataStore::SkipInt()
{
    if (Take(4))
    {
        m_position += 4;
    }
}

bool CDataStore::ReadString(std::u16string& destination)
{
    const int32_t count = ReadInt();
    if (m_failed)
    {
        return false;
    }
    if (count < 0 || !Take(static_cast<size_t>(count) * 2))
    {
        m_failed = true;
        return false;
    }
    const uint8_t* p = m_source + m_position;
    std::u16string text;
    for (int32_t i = 0; i < count; ++i)
    {
        const auto unit = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
        if (unit == 0)
        {
            break;
        }
        text.push_back(unit);
    }
    m_position += count * 2;
    destination = std::move(text);
    return true;
}
