#pragma once

#include "AtomicFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CImageBuffer;

// Picture files as the image library takes them, for Add Image, qelctl
// add-image and pictures named in a layout's JSON alike: one reader, one set
// of reasons.

// Scales a picture down to fit the 320 x 240 screen, keeping its aspect
// ratio, as pictures are taken into the image library; smaller ones stay.
void FitPictureToPanel(CImageBuffer& image);

struct TPictureFile
{
    std::unique_ptr<CImageBuffer> image; // fitted to the screen
    int32_t fileWidth = 0;               // the size the file had
    int32_t fileHeight = 0;
};

// Reads a picture file of any format recognised by its content (whatever its
// name says) and fits it. Refused, with a lowercase reason to follow the
// file's name: "cannot open file (...)", "not a regular file", "not a picture
// in a format we read", "picture too large (20000 × 20000; at most 16384
// pixels on a side and 64 million pixels)".
TFileResult LoadPictureFile(const std::string& path, TPictureFile& picture);
// The same for a picture file's bytes (read from a pipe, say).
TFileResult LoadPictureBytes(const std::vector<uint8_t>& bytes, TPictureFile& picture);
