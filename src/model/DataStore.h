#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The record stream every persistent class stores itself to and loads itself
// from. Made empty it is a storing stream that appends to a buffer it owns;
// made over bytes it is a loading stream that reads them from the front and
// never owns them.
//
// A loading stream never reads past the length it was given. A read that
// would, fails the stream: that read and every later one return 0 or leave
// their destination unchanged, and Failed() tells the top-level loader.
class CDataStore
{
public:
    // A storing stream with no buffer yet.
    CDataStore() = default;
    // A loading stream over bytes the caller keeps alive.
    CDataStore(const uint8_t* data, size_t length);
    virtual ~CDataStore() = default;

    CDataStore(const CDataStore&) = delete;
    CDataStore& operator=(const CDataStore&) = delete;

    bool IsStoring() const { return m_storing; }

    void WriteInt(int32_t value);
    void WriteByte(uint8_t value);
    void WriteBytes(const void* data, size_t length);
    void WriteString(const std::u16string& text);

    int32_t ReadInt();
    uint8_t ReadByte();
    // False (destination untouched) when fewer than length bytes remain.
    bool ReadBytes(void* destination, size_t length);
    // Ends at the first NUL code unit but moves past all n of them. A count
    // that is negative or runs past the data fails the stream instead.
    bool ReadString(std::u16string& destination);
    void SkipInt();

    // Storing: the buffer and the number of bytes written.
    // Loading: the bytes given and the read position.
    const uint8_t* GetData() const;
    int32_t GetLength() const { return m_position; }
    int32_t GetCapacity() const { return m_capacity; }
    // Loading: bytes left to read (0 once failed).
    int32_t Remaining() const;
    // The stored bytes, copied out.
    std::vector<uint8_t> CopyData() const;

    // Storing: allocate at least this many bytes up front.
    void Reserve(int32_t capacity);
    // Moves the position, e.g. past a value written or skipped by hand. A
    // storing stream grows (zero-filled) to cover it; a loading stream fails
    // if it lies beyond the data.
    void SetPosition(int32_t position);

    bool Failed() const { return m_failed; }
    // Lets a record reject what it read (a count beyond its field, say).
    void Fail() { m_failed = true; }

private:
    void Grow(size_t needed);
    bool Take(size_t length);

    std::vector<uint8_t> m_buffer;     // storing: owned, m_capacity bytes
    const uint8_t* m_source = nullptr; // loading: the caller's bytes
    int32_t m_capacity = 0;
    int32_t m_position = 0;
    bool m_storing = true;
    bool m_failed = false;
};
