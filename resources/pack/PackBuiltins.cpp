// Packs the built-in pictures, colours and texts into the built-in library
// data format and writes it as a C++ source file that embeds the bytes.
//
// usage: qel_pack_builtins OUT.cpp PICTURE_DIR
// PICTURE_DIR holds NN.png for the picture ids 01 to 16; missing ones are
// left out of the data.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

class CWriter
{
public:
    void Int(int32_t v)
    {
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<uint8_t>(u >> (8 * i)));
    }
    void Byte(uint8_t v) { m_bytes.push_back(v); }
    void Bytes(const std::vector<uint8_t>& v) { m_bytes.insert(m_bytes.end(), v.begin(), v.end()); }
    void String(const std::u16string& s)
    {
        Int(static_cast<int32_t>(s.size()));
        for (char16_t c : s)
        {
            Byte(static_cast<uint8_t>(c));
            Byte(static_cast<uint8_t>(c >> 8));
        }
    }
    const std::vector<uint8_t>& Data() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

struct TColourRecord
{
    int32_t id;
    int32_t kind;
    uint8_t r, g, b;
};

const TColourRecord kColours[] = {
    {1, 1, 40, 40, 30},    {2, 1, 123, 9, 185},   {3, 4, 136, 136, 131}, {4, 1, 177, 254, 254},
    {5, 1, 190, 190, 190}, {6, 1, 0, 255, 255},   {7, 1, 177, 254, 254}, {8, 1, 192, 192, 192},
};

const char16_t* const kTexts[] = {u"ON", u"OFF", u"Cancel", u"Clear", u"Enter", u"Dial", u"INVALID"};

// The order the pictures take in the data.
const int kPictureOrder[] = {1, 2, 3, 16, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

constexpr int32_t kMagic = 0x0ABCDEF0;
constexpr int32_t kPngFormat = 4;

bool ReadFile(const std::string& path, std::vector<uint8_t>& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: qel_pack_builtins OUT.cpp PICTURE_DIR\n");
        return 2;
    }
    const std::string outPath = argv[1];
    const std::string dir = argv[2];

    CWriter w;
    w.Int(kMagic);
    w.Int(1);

    for (const TColourRecord& c : kColours)
    {
        w.Int(1);
        w.Int(2);
        w.Int(c.id);
        w.Int(c.kind);
        w.Byte(c.r);
        w.Byte(c.g);
        w.Byte(c.b);
        w.Byte(0);
        w.Byte(0);
        w.Byte(0);
        w.Byte(0);
    }
    w.Int(0);

    int32_t textId = 1;
    for (const char16_t* t : kTexts)
    {
        w.Int(1);
        w.Int(1);
        w.Int(textId++);
        w.String(t);
    }
    w.Int(0);

    for (int id : kPictureOrder)
    {
        char name[16];
        std::snprintf(name, sizeof name, "/%02d.png", id);
        std::vector<uint8_t> png;
        if (!ReadFile(dir + name, png))
            continue;
        w.Int(1);
        w.Int(1);
        w.Int(id);
        w.Int(0);
        w.Int(0);
        w.Int(kPngFormat);
        w.Int(static_cast<int32_t>(png.size()));
        w.Bytes(png);
    }
    w.Int(0);

    // No glyph records.
    w.Int(0);

    std::FILE* out = std::fopen(outPath.c_str(), "w");
    if (out == nullptr)
    {
        std::perror(outPath.c_str());
        return 1;
    }
    const std::vector<uint8_t>& data = w.Data();
    std::fprintf(out, "// Made by qel_pack_builtins; do not edit.\n"
                      "#include \"BuiltinData.h\"\n\n"
                      "namespace\n{\nalignas(4) const uint8_t kData[] = {\n");
    for (size_t i = 0; i < data.size(); ++i)
        std::fprintf(out, "%u,%s", data[i], (i % 24 == 23) ? "\n" : "");
    std::fprintf(out, "\n};\n}\n\nconst uint8_t* QelBuiltinData(size_t* size)\n{\n"
                      "    *size = sizeof kData;\n    return kData;\n}\n");
    const bool ok = std::fflush(out) == 0 && !std::ferror(out);
    std::fclose(out);
    return ok ? 0 : 1;
}
