#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataStore;
class CImageBuffer;

struct TLibraryColour
{
    static constexpr int32_t kVersion = 2;

    void Serialize(CDataStore& store);

    int32_t id = 0;
    std::u16string name;                     // not stored
    std::array<uint8_t, 3> colourA{0, 0, 0}; // red, green, blue
    uint8_t flag = 0;                        // stored from version 2
    std::array<uint8_t, 3> colourB{255, 255, 255};
    int32_t kind = 1;
};

struct TLibraryString
{
    static constexpr int32_t kVersion = 1;

    void Serialize(CDataStore& store);

    int32_t id = 0;
    std::u16string name; // not stored
    std::u16string text;
};

struct TLibraryImage
{
    static constexpr int32_t kVersion = 1;

    // Stores the picture as PNG; reads it with the stored format code.
    void Serialize(CDataStore& store);

    int32_t id = 0;
    std::u16string name1; // not stored
    std::u16string name2; // not stored
    int32_t reserved1 = 0;
    int32_t reserved2 = 0;
    int32_t format = 0; // as stored; 4 = PNG
    // Shared with the image library's built-in entries.
    std::shared_ptr<CImageBuffer> image;
};

// The library of built-in colours, texts and pictures the program carries as
// data. Only its pictures are used elsewhere. Each list holds its records
// head first, which is the reverse of their order in the data.
class TBuiltinLibrary
{
public:
    static constexpr int32_t kMagic = 0x0ABCDEF0;
    static constexpr int32_t kVersion = 1;

    // Replaces the lists with those in the data. False for data whose magic
    // is wrong (nothing read) or that ends early or breaks a record (the
    // records read whole before that are kept). Never reads past size.
    bool Load(const uint8_t* data, size_t size);
    // The data format, for tests and tools that make library data. Glyph
    // records are not kept, so an empty glyph list is written.
    std::vector<uint8_t> Store() const;

    const TLibraryImage* FindImage(int32_t id) const;

    std::vector<TLibraryColour> colours;
    std::vector<TLibraryString> strings;
    std::vector<TLibraryImage> images;
};

// Built-in picture names by id, "bogus" for id 0; null outside 0 to 16.
const char16_t* BuiltinImageName(int32_t id);

// The library the program carries, loaded on first use and kept for the run.
const TBuiltinLibrary& BuiltinLibrary();
