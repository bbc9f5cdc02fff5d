#include "ByteStream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

CFileStream::CFileStream(std::FILE* file) : m_file(file) {}

size_t CFileStream::Read(void* buffer, size_t size)
{
    return m_file == nullptr || size == 0 ? 0 : std::fread(buffer, 1, size, m_file);
}

size_t CFileStream::Write(const void* buffer, size_t size)
{
    return m_file == nullptr || size == 0 ? 0 : std::fwrite(buffer, 1, size, m_file);
}

bool CFileStream::Seek(int64_t position)
{
    if (m_file == nullptr || position < 0)
        return false;
    return fseeko(m_file, static_cast<off_t>(position), SEEK_SET) == 0;
}

int64_t CFileStream::Tell() const
{
    return m_file == nullptr ? -1 : static_cast<int64_t>(ftello(m_file));
}

int64_t CFileStream::Size() const
{
    if (m_file == nullptr)
        return -1;
    const off_t here = ftello(m_file);
    if (here < 0 || fseeko(m_file, 0, SEEK_END) != 0)
        return -1;
    const off_t end = ftello(m_file);
    fseeko(m_file, here, SEEK_SET);
    return static_cast<int64_t>(end);
}

CMemoryStream::CMemoryStream() = default;

CMemoryStream::CMemoryStream(const uint8_t* data, size_t size)
    : m_data(const_cast<uint8_t*>(data)), m_size(data == nullptr ? 0 : size), m_capacity(m_size),
      m_owned(false)
{
}

CMemoryStream::~CMemoryStream()
{
    if (m_owned)
        std::free(m_data);
}

size_t CMemoryStream::Read(void* buffer, size_t size)
{
    if (m_position >= m_size || size == 0)
        return 0;
    const size_t count = std::min(size, m_size - m_position);
    std::memcpy(buffer, m_data + m_position, count);
    m_position += count;
    return count;
}

size_t CMemoryStream::Write(const void* buffer, size_t size)
{
    // A stream over borrowed bytes never writes into them.
    if (!m_owned || size == 0)
        return 0;
    if (size > std::numeric_limits<size_t>::max() - m_position)
        return 0;
    const size_t end = m_position + size;
    if (end > m_capacity)
    {
        size_t capacity = m_capacity < 4096 ? 4096 : m_capacity;
        while (capacity < end)
            capacity = capacity > std::numeric_limits<size_t>::max() / 2 ? end : capacity * 2;
        auto* grown = static_cast<uint8_t*>(std::realloc(m_data, capacity));
        if (grown == nullptr)
            return 0;
        m_data = grown;
        m_capacity = capacity;
    }
    if (m_position > m_size)
        std::memset(m_data + m_size, 0, m_position - m_size);
    std::memcpy(m_data + m_position, buffer, size);
    m_position = end;
    if (end > m_size)
        m_size = end;
    return size;
}

bool CMemoryStream::Seek(int64_t position)
{
    if (position < 0 || static_cast<uint64_t>(position) > m_size)
        return false;
    m_position = static_cast<size_t>(position);
    return true;
}

int64_t CMemoryStream::Tell() const
{
    return static_cast<int64_t>(m_position);
}

int64_t CMemoryStream::Size() const
{
    return static_cast<int64_t>(m_size);
}

uint8_t* CMemoryStream::Detach(size_t* size)
{
    if (!m_owned)
    {
        if (size != nullptr)
            *size = 0;
        return nullptr;
    }
    uint8_t* block = m_data;
    if (size != nullptr)
        *size = m_size;
    m_data = nullptr;
    m_size = m_capacity = m_position = 0;
    return block;
}
