#pragma once

#include "AtomicFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TImageEntry;
class TLayout;
class TListItem;
class TPageList;
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
// Refuses (TooLargeToStore, naming the size and the limit) a user page file
// longer than an import accepts; a picture used twice can make one.
TFileResult CheckUserPageSize(size_t size);
// Writes that file atomically; one an import would refuse is not written.
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

// The id a page imported over `page` takes: the file's, unless that is no
// page id or another page of the list has it already (copies of one page
// would then share it, and every hot spot would lead to the first); then the
// page keeps `ownId`. `page` may be one not in the list yet.
int32_t ImportedPageId(const TPageList& pages, int32_t fileId, const TListItem* page, int32_t ownId);
