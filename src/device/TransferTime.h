#pragma once

#include <cstdint>

// How long a layout transfer takes with a panel that answers at once: the
// protocol's fixed pauses, the reply windows it waits out and, where nothing
// else covers it, the bytes at their line speeds (ten bits a byte). A refused
// block or a slow panel only adds to it.
int64_t ExpectedUploadMs(int32_t length);
// Reading a layout of that length back, in blocks of 1000 bytes.
int64_t ExpectedDownloadMs(int32_t length);
