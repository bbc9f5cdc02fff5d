#pragma once

#include <cstdint>
#include <memory>

class TImageEntry;
class TImageLibrary;
class TUserPage;

// Merging the pictures of an imported user page into a library. Each picture
// comes with the id it had in the layout it was exported from; it gets an id
// here (that of a picture with the same GUID, or a fresh one) and the page's
// references to the old id are re-pointed to it. A reference is re-pointed
// at most once per import: the marks on faces and sliders remember which.

// Clears every import mark of the page; done before the first picture.
void ClearImportMarks(TUserPage& page);
// Merges one picture and returns the id it has in the library afterwards.
// The entry is either linked at the head of the library or dropped in favour
// of the matching one.
int32_t MergeImportedPicture(TImageLibrary& library, TUserPage& page, std::unique_ptr<TImageEntry> entry);
