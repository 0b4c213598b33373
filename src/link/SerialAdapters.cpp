#include "link/SerialAdapters.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace qm {

std::vector<std::string> SerialAdapterPaths(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        // The entries are links to the tty devices; a dangling one is an adapter just pulled.
        std::error_code statError;
        if (std::filesystem::exists(it->path(), statError))
            paths.push_back(it->path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace qm
