#include "support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Platform.h"

namespace qm::test {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::filesystem::path folder;
    // create_directory is false for a folder that exists already: someone else's.
    do {
        folder =
            base / ("qm7100-test-" + std::to_string(ProcessId()) + "-" + std::to_string(counter++));
    } while (!std::filesystem::create_directory(folder));
    const std::u8string utf8 = folder.u8string();
    m_path.assign(utf8.begin(), utf8.end());
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

FullDisk::FullDisk() {
    Io().write = [](int, const void*, std::size_t) -> ssize_t { return errno = ENOSPC, -1; };
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string BinPath(const std::string& program) {
    return std::string(QM_TEST_BIN_DIR) + "/" + program;
}

std::string SourcePath(const std::string& relative) {
    return std::string(QM_TEST_SOURCE_DIR) + "/" + relative;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace qm::test
