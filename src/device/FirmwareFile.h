#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The refusals of a firmware file, in the words of the message pane; qelctl
// prints the same texts on one line.
extern const char kMsgFirmwareEmpty[];    // "Firmware file is empty" / "Nothing sent"
extern const char kMsgFirmwareTooLarge[]; // "Firmware file larger than 16 MB" / "Nothing sent"
// "Could not read PATH: reason" / "Nothing sent".
std::string FirmwareUnreadableMessage(const std::string& path, const std::string& reason);

// Reads a firmware file whole. An empty file, or one over kMaxFirmwareBytes,
// is refused before its bytes are read. On failure message holds one of the
// refusals above.
bool ReadFirmwareFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& message);
