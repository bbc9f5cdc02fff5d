#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The byte streams the picture codecs read from and write to.
class CByteStream
{
public:
    virtual ~CByteStream() = default;

    // Reads up to size bytes; returns how many were read (0 at the end).
    virtual size_t Read(void* buffer, size_t size) = 0;
    // Writes size bytes; returns how many were written.
    virtual size_t Write(const void* buffer, size_t size) = 0;
    // Moves to an absolute position; false when it lies outside the stream.
    virtual bool Seek(int64_t position) = 0;
    virtual int64_t Tell() const = 0;
    // Total length in bytes, or -1 when unknown.
    virtual int64_t Size() const = 0;
};

// Over an open C file; the caller keeps the file open and closes it.
class CFileStream : public CByteStream
{
public:
    explicit CFileStream(std::FILE* file);
    size_t Read(void* buffer, size_t size) override;
    size_t Write(const void* buffer, size_t size) override;
    bool Seek(int64_t position) override;
    int64_t Tell() const override;
    int64_t Size() const override;

private:
    std::FILE* m_file;
};

// Over a memory block. Made over existing bytes it reads them without copying
// and without owning them; made empty it owns a block, allocated with the C
// allocator, that grows as it is written and can be detached.
class CMemoryStream : public CByteStream
{
public:
    CMemoryStream();
    CMemoryStream(const uint8_t* data, size_t size);
    ~CMemoryStream() override;
    CMemoryStream(const CMemoryStream&) = delete;
    CMemoryStream& operator=(const CMemoryStream&) = delete;

    size_t Read(void* buffer, size_t size) override;
    size_t Write(const void* buffer, size_t size) override;
    bool Seek(int64_t position) override;
    int64_t Tell() const override;
    int64_t Size() const override;

    const uint8_t* Data() const { return m_data; }
    // Hands the written block to the caller, who frees it with free().
    uint8_t* Detach(size_t* size);

private:
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
    size_t m_position = 0;
    bool m_owned = true;
};
