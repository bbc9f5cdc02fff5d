#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Standard base64 with padding, no line breaks: the form pictures take
// inside a layout's JSON.
std::string EncodeBase64(const uint8_t* data, size_t size);
// False (bytes untouched) for anything but well-formed base64.
bool DecodeBase64(const std::string& text, std::vector<uint8_t>& bytes);
