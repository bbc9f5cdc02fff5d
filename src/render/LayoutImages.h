#pragma once

#include "ImageFinder.h"

class TLayout;

// Finds pictures in the document's image library. The document must outlive
// the finder.
TImageFinder LayoutImages(const TLayout& layout);
