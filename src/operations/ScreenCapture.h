#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "operations/OperationOutcome.h"
#include "operations/SilentConnect.h"

namespace qm {

class cnComm;

// The capture file: a 320 x 240, 24-bit bitmap of 230454 bytes whose pixel rows are the
// meter's screen bytes unchanged.
inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 240;
inline constexpr std::size_t kCaptureFileSize = 230454;

// How often and how far apart the capture tries to connect.
struct CaptureRetry {
    int tries = 11;
    int pauseMs = 1500;
    // Waits between tries; the default sleeps. Tests count the pauses instead.
    std::function<void(int ms)> pause;
    // Asked after each pause: true gives up the remaining tries (the user cancelled the wait);
    // the capture then ends without a message.
    std::function<bool()> stop;
};

struct CaptureResult {
    OperationOutcome outcome;
    int connectTries = 0;             // silent connects made
    std::vector<std::uint8_t> bitmap; // the file written, empty when none was
};

// The capture file's bytes for the screen pixels received: header, then the pixels; a screen
// of fewer than 60 blocks is completed with black rows so the file stays a whole picture.
std::vector<std::uint8_t> CaptureBitmap(const std::vector<std::uint8_t>& pixels);

// Picture Capture's Upload: connects (retrying as told), reads the screen with progress
// 0 ... block count, writes the bitmap to path (replacing it only once complete), releases the
// meter. Error boxes: 5650 after the last failed connect, and when the screen transfer fails
// (then no file is written); 5657 when the file cannot be written.
CaptureResult CaptureScreen(cnComm& port, const ConnectTarget& target, const std::string& path,
                            const ProgressFn& progress = {}, const CaptureRetry& retry = {});

} // namespace qm
