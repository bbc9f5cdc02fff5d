#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads a firmware file whole. An empty file, or one over kMaxFirmwareBytes,
// is refused before its bytes are read. On failure reason holds one line.
bool ReadFirmwareFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason);
