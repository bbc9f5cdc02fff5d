#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TListItem;

// A copy of a page of either kind, made through its record so that it holds
// exactly what would be stored: its objects, faces, texts and targets, none
// of them shared with the original. It takes the id and name given. Null
// only for a page of a kind this program does not know.
std::unique_ptr<TListItem> CopyPage(const TListItem& page, int32_t id, std::u16string name);

// "NAME copy", as Duplicate names the copy of a page called NAME.
std::u16string CopyName(const std::u16string& name);
