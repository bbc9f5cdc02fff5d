#pragma once

#include <string>
#include <vector>

class TLayout;

// What changed from layout a to layout b, in words, one change a line:
// settings first, then page by page (pages matched by id, objects by their
// place from the back, counted from 1) and object by object, then the
// pictures (by id) and the events. Empty when they are the same.
std::vector<std::string> DiffLayouts(const TLayout& a, const TLayout& b);
