#pragma once

#include "AtomicFile.h"

#include <cstdint>
#include <memory>
#include <vector>

class TImageEntry;
class TLayout;
class TUserObject;

// Objects as Copy carries them to another page, layout or running program: a
// user page file whose page holds copies of the objects, and the pictures
// they use.
std::vector<uint8_t> CopyObjects(const TLayout& layout, const std::vector<const TUserObject*>& objects);

// Reads what CopyObjects wrote. The pictures are merged into the layout's
// library as Import merges them (one the library has already, by its GUID, is
// used again); `added` names those put in. All or nothing: bytes that are no
// such file change nothing.
TFileResult PasteObjects(TLayout& layout, const uint8_t* data, size_t size,
                         std::vector<std::unique_ptr<TUserObject>>& objects, std::vector<TImageEntry*>& added);
