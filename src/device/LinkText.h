#pragma once

#include <string>

// A link message (lines ending in "\r\n", as the message pane shows them) on
// one line: "No response after connection; Firmware ...".
std::string OneLine(const std::string& message);
