#pragma once

#include "AtomicFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TLayout;

// A template file (".qel"): the magic number, then the layout byte image.
constexpr uint32_t kTemplateMagic = 0xABADCAD5;
// Longest template file we load, its magic number included.
constexpr size_t kTemplateFileLimit = 500000;

// Loads a template over the document from the whole file's bytes (read from
// a pipe, say), refused as LoadTemplateFile refuses them.
TFileResult LoadTemplateBytes(TLayout& layout, const std::vector<uint8_t>& bytes);
// The bytes SaveTemplateFile writes, in bytes; refused as it refuses them.
TFileResult StoreTemplateBytes(TLayout& layout, std::vector<uint8_t>& bytes);
// A bare layout byte image's bytes loaded over the document.
TFileResult LoadLayoutImageBytes(TLayout& layout, const std::vector<uint8_t>& bytes);

// Loads a template over the document. Refused, with the document unchanged,
// when the file cannot be read, is 4 bytes or shorter, carries another magic
// number, is longer than 500000 bytes or holds a damaged layout.
TFileResult LoadTemplateFile(TLayout& layout, const std::string& path);
// Stores the document and replaces the file atomically with the magic and
// the byte image. Refused when the image does not fit 500000 bytes.
TFileResult SaveTemplateFile(TLayout& layout, const std::string& path);

// A bare layout byte image, as uploaded to the panel (at most 512000 bytes).
TFileResult LoadLayoutImageFile(TLayout& layout, const std::string& path);

// The int32 at the front of bytes (little-endian), or 0 when there are fewer
// than four.
uint32_t ReadMagic(const uint8_t* bytes, size_t size);
