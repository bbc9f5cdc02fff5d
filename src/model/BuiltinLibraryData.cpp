#include "BuiltinData.h"
#include "BuiltinLibrary.h"

// Kept apart from the reader so that only programs that use the carried data
// link it.
const TBuiltinLibrary& BuiltinLibrary()
{
    static const TBuiltinLibrary library = []
    {
        TBuiltinLibrary loaded;
        size_t size = 0;
        const uint8_t* data = QelBuiltinData(&size);
        loaded.Load(data, size);
        return loaded;
    }();
    return library;
}
