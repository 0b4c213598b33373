#include "setup/CaptureFile.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "app/Settings.h"

namespace qm {

namespace {

bool IsWritableDirectory(const std::string& dir) {
    std::error_code error;
    return !dir.empty() && std::filesystem::is_directory(dir, error) &&
           ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

} // namespace

std::string CaptureFilePath(const std::string& programDir, const std::string& cacheDir) {
    if (IsWritableDirectory(programDir))
        return programDir + "/" + kCaptureFileName;
    std::error_code error; // a folder that cannot be made shows up when the file is written
    std::filesystem::create_directories(cacheDir, error);
    return cacheDir + "/" + kCaptureFileName;
}

std::string UserCacheDirectory() {
    std::string base = AbsoluteEnv("XDG_CACHE_HOME");
    if (base.empty()) {
        const std::string home = AbsoluteEnv("HOME");
        base = (home.empty() ? std::string("/tmp") : home) + "/.cache";
    }
    return base + "/qm7100-workdesk";
}

std::string DefaultCaptureFilePath() {
    return CaptureFilePath(ExecutableDirectory(), UserCacheDirectory());
}

} // namespace qm
