#pragma once

#include <cstdint>

// The fixed pauses of the exchanges with the panel, in milliseconds. The
// link keeps them; the transfer time estimate adds them up.
constexpr uint32_t kPauseAfterProbeMs = 600;       // after "$QPW"
constexpr uint32_t kPauseAfterInfoRequestMs = 100; // after "%reqinfo"
constexpr uint32_t kSettleAfterHighBaudMs = 700;   // after switching to 115200 baud
constexpr uint32_t kPauseAfterDownloadHighBaudMs = 100;
constexpr uint32_t kPauseBeforeRecordMs = 5; // after "%binblock" and the end command
constexpr uint32_t kPauseBeforeDownloadLowBaudMs = 20;
constexpr uint32_t kPauseAfterLowBaudMs = 100;       // after "%lowbaud", before 9600 baud
constexpr uint32_t kPauseBeforeRestartCloseMs = 100; // after a firmware image, before closing the port
