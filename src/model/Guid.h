#pragma once

#include <array>
#include <cstdint>
#include <string>

// A GUID in its usual binary layout: a 32-bit, a 16-bit and a 16-bit field,
// each little-endian, then 8 bytes.
using TGuid = std::array<uint8_t, 16>;

// A random (version 4) GUID.
TGuid NewGuid();
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex.
std::string GuidToText(const TGuid& guid);
// The inverse of GuidToText, braces and hex of either case; false (guid
// untouched) for anything else.
bool GuidFromText(const std::string& text, TGuid& guid);

// The value of a hex digit of either case, or -1.
int HexDigitValue(char c);
