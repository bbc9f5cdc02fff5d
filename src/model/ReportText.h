#pragma once

#include <cstdint>
#include <string>

// Pieces of the one-line messages that checks and commands print.

// A count with its thousands grouped: 512000 as "512,000".
std::string GroupedDigits(int64_t n);

// A name as UTF-8 for a line of text: a control character (a line break
// would split the line) is written as \xNN.
std::string PrintableName(const std::u16string& text);
