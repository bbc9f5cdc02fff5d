#pragma once

#include <cstdint>
#include <vector>

class CImageBuffer;
class CRaster;

// The raster's pixels as a true-colour picture.
void RasterToImage(const CRaster& raster, CImageBuffer& image);

// The raster as PNG bytes; false when encoding fails.
bool EncodeRasterPng(const CRaster& raster, std::vector<uint8_t>& png);
