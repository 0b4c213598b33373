#pragma once

#include <string>

namespace qm {

// Name of the file every screen capture rewrites.
inline constexpr const char* kCaptureFileName = "temp.bmp";

// Where a capture goes: "temp.bmp" in programDir when the program may write there, otherwise
// in cacheDir (created when missing), since an installed program cannot write beside itself.
std::string CaptureFilePath(const std::string& programDir, const std::string& cacheDir);

// The capture file of the running program: beside the executable, or in the user's cache.
std::string DefaultCaptureFilePath();

} // namespace qm
