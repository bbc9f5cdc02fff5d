#pragma once

#include "DataStore.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

// Builds expected record bytes: int32 values little-endian, raw bytes as given.
class CRecordBytes
{
public:
    CRecordBytes& Int(int32_t value)
    {
        for (int i = 0; i < 4; ++i)
        {
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
        }
        return *this;
    }
    CRecordBytes& Ints(std::initializer_list<int32_t> values)
    {
        for (int32_t v : values)
        {
            Int(v);
        }
        return *this;
    }
    CRecordBytes& Raw(std::initializer_list<uint8_t> values)
    {
        bytes.insert(bytes.end(), values);
        return *this;
    }
    CRecordBytes& Zeros(size_t count)
    {
        bytes.insert(bytes.end(), count, 0);
        return *this;
    }
    CRecordBytes& Text(const char16_t* text)
    {
        std::u16string s(text);
        Int(static_cast<int32_t>(s.size()));
        for (char16_t c : s)
        {
            bytes.push_back(static_cast<uint8_t>(c));
            bytes.push_back(static_cast<uint8_t>(c >> 8));
        }
        return *this;
    }

    std::vector<uint8_t> bytes;
};

// Stores one record and returns its bytes.
template <typename T> std::vector<uint8_t> Stored(T& record)
{
    CDataStore store;
    record.Serialize(store);
    return store.CopyData();
}
