// Draws the sixteen built-in pictures and writes them as PNG files NN.png
// (NN = id 01 to 16), ready to be packed into the built-in library data.
// The output is the same, byte for byte, on every run.
//
// usage: qel_draw_builtins PICTURE_DIR [SHEET.png]
// SHEET.png, when given, receives a contact sheet of all the pictures.

#include "ContactSheet.h"
#include "Pictures.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

// Writes beside the target and renames over it, so that a failed run never
// leaves a half-written picture behind.
bool WritePng(CImageBuffer& image, const std::string& path)
{
    uint8_t* block = nullptr;
    int32_t size = 0;
    if (!image.Encode(&block, &size, kFormatPng) || block == nullptr)
    {
        std::fprintf(stderr, "qel_draw_builtins: %s: cannot encode: %s\n", path.c_str(),
                     image.GetLastError().c_str());
        return false;
    }
    const std::string temp = path + ".tmp";
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    bool ok = out != nullptr;
    if (ok)
    {
        ok = std::fwrite(block, 1, static_cast<size_t>(size), out) == static_cast<size_t>(size);
        ok = std::fflush(out) == 0 && ok;
        ok = std::fclose(out) == 0 && ok;
    }
    std::free(block);
    if (ok)
        ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
    {
        std::perror(("qel_draw_builtins: " + path).c_str());
        std::remove(temp.c_str());
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3)
    {
        std::fprintf(stderr, "usage: qel_draw_builtins PICTURE_DIR [SHEET.png]\n");
        return 2;
    }
    const std::string dir = argv[1];

    std::vector<CImageBuffer> pictures(kLastPicture + 1);
    bool ok = true;
    for (int32_t id = kFirstPicture; id <= kLastPicture; ++id)
    {
        pictures[static_cast<size_t>(id)] = DrawPicture(id);
        char name[16];
        std::snprintf(name, sizeof name, "/%02d.png", static_cast<int>(id));
        ok = WritePng(pictures[static_cast<size_t>(id)], dir + name) && ok;
    }
    if (argc == 3)
    {
        CImageBuffer sheet = MakeContactSheet(pictures);
        ok = WritePng(sheet, argv[2]) && ok;
    }
    return ok ? 0 : 1;
}
