// Runs a fuzz target over saved inputs without libFuzzer: every file named, and every file in
// every folder named, once each. A failed check traps as it does under the fuzzer; the input's
// name is printed first so that the failing one is known.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

bool Replay(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    // Exactly the input's size, so that a read past its end is a read past a buffer.
    const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "replay %s (%zu bytes)\n", path.c_str(), data.size());
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::size_t inputs = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(arg);
        }
        for (const auto& file : files) {
            ok = Replay(file) && ok;
            ++inputs;
        }
    }
    std::printf("%zu inputs replayed\n", inputs);
    // A folder that is empty or missing replays nothing, which must not pass for a clean run.
    return ok && inputs > 0 ? 0 : 1;
}
