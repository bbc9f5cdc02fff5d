#pragma once

#include "PanelLink.h"

#include <cstdint>

// Reads the layout back from the panel after an upload and compares it with
// the bytes sent. The link must be connected at 9600 baud, as an upload
// leaves it. Ok with "Layout verified on control"; Failed with "Layout on
// control differs from the one sent at byte N" (N counted from 0) or with
// what stopped the download, then "Upload not verified".
TLinkResult VerifyLayout(CPanelLink& link, int32_t firmwareVersion, const uint8_t* sent, int32_t length,
                         IProgressSink& progress);
