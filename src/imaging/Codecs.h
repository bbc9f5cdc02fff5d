#pragma once

#include "ImageCodec.h"

#include <memory>

// The codec of each format we read; MakeImageCodec picks among them.
std::unique_ptr<CImageCodec> MakeBmpCodec();
std::unique_ptr<CImageCodec> MakeJpegCodec();
std::unique_ptr<CImageCodec> MakeGifCodec();
std::unique_ptr<CImageCodec> MakePngCodec();
std::unique_ptr<CImageCodec> MakeTiffCodec();
std::unique_ptr<CImageCodec> MakeJpeg2000Codec();
std::unique_ptr<CImageCodec> MakeWebpCodec();
