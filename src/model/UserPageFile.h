#pragma once

#include "AtomicFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TImageEntry;
class TLayout;
class TUserPage;

// A user page file (".qup"): the magic number, one user page record, then
// for each picture the page uses an int32 1 and the picture's image entry
// record, to the end of the file.
constexpr uint32_t kUserPageMagic = 0xABADCAD6;
// Longest user page file we import, its magic number included.
constexpr size_t kUserPageFileLimit = 300000;

// What a user page file holds, read without touching any document.
struct TUserPageFileContents
{
    std::unique_ptr<TUserPage> page;
    std::vector<std::unique_ptr<TImageEntry>> pictures;  // in file order
};

// The whole file for a page: magic, page record and one picture for every
// reference to an added picture the library holds, in drawing order (the
// page face; a button's down face, then its up face; a slider's picture; an
// image's face). A picture used twice is written twice.
std::vector<uint8_t> StoreUserPage(const TLayout& layout, const TUserPage& page);
// Writes that file atomically, whatever its length: a file over the import
// limit is written too, though importing it is then refused.
TFileResult ExportUserPage(const TLayout& layout, const TUserPage& page, const std::string& path);

// Reads a whole file's bytes (magic included). Pictures are read while at
// least four bytes remain and the next int32 is 1.
TFileResult ReadUserPageBytes(const uint8_t* data, size_t size, TUserPageFileContents& contents);
TFileResult ReadUserPageFile(const std::string& path, TUserPageFileContents& contents);

// Reads the file over target (its name, id, face and objects) and merges the
// pictures into the layout's library, re-pointing the page's references.
// All or nothing: when the file is refused neither the page nor the library
// changes.
TFileResult ImportUserPageBytes(TLayout& layout, TUserPage& target, const uint8_t* data, size_t size);
TFileResult ImportUserPage(TLayout& layout, TUserPage& target, const std::string& path);
