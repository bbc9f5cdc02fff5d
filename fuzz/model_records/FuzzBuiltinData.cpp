// Reads arbitrary bytes as built-in library data and fills an image library
// from whatever was read.
#include "BuiltinLibrary.h"
#include "ImageLibrary.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TBuiltinLibrary library;
    const bool loaded = library.Load(data, size);
    if (size < 4 && (loaded || !library.images.empty()))
    {
        std::abort();
    }
    TImageLibrary images;
    images.AddBuiltinImages(library);
    if (images.Size() != library.images.size())
    {
        std::abort();
    }
    return 0;
}
