#pragma once

#include "LabelJson.h"
#include "LayoutJsonWriter.h"

#include <cstdint>
#include <string>
#include <vector>

// The two directions of qelctl's text form of a layout, from bytes to text
// and back, as dump and build run them.

// A template or user page file (told apart by its magic number), or with raw
// a bare layout byte image, as JSON text ending in a line feed. False with
// reason set when the bytes are not one of those.
bool FileToJson(const std::vector<uint8_t>& bytes, bool raw, CLayoutJsonWriter& writer, std::string& json,
                std::string& reason);

// Where a JSON text went wrong: at offset (a position in the text), or, with
// hasOffset false, in the file it describes (too large, say).
struct TBuildProblem
{
    bool hasOffset = false;
    size_t offset = 0;
    std::string message;
};

// The file a JSON text describes: a template, a bare layout byte image or a
// user page file, by its "kind". Picture files are looked for beside jsonDir;
// labels are drawn by paintLabel (refused without one).
bool JsonToFile(const std::string& text, const std::string& jsonDir, const TLabelPainter& paintLabel,
                std::vector<uint8_t>& bytes, TBuildProblem& problem);
