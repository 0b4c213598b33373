#include "app/CaptureFile.h"

#include <filesystem>
#include <system_error>

#include "app/Settings.h"

namespace qm {

std::string CaptureFilePath(const std::string& programDir, const std::string& cacheDir) {
    if (IsWritableDirectory(programDir))
        return programDir + "/" + kCaptureFileName;
    std::error_code error; // a folder that cannot be made shows up when the file is written
    std::filesystem::create_directories(cacheDir, error);
    return cacheDir + "/" + kCaptureFileName;
}

std::string DefaultCaptureFilePath() {
    return CaptureFilePath(ExecutableDirectory(), UserCacheDirectory());
}

} // namespace qm
