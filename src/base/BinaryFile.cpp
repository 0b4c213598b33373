#include "base/BinaryFile.h"

#include <unistd.h>

namespace qm {

ReplaceStatus ReplaceFileContents(const std::string& path,
                                  std::initializer_list<std::span<const std::uint8_t>> parts) {
    const std::string temp = path + ".part" + std::to_string(::getpid());
    FilePtr f(std::fopen(temp.c_str(), "wb"));
    if (!f)
        return ReplaceStatus::CannotCreate;
    bool ok = true;
    for (std::span<const std::uint8_t> part : parts)
        ok = ok &&
             (part.empty() || std::fwrite(part.data(), 1, part.size(), f.get()) == part.size());
    ok = std::fflush(f.get()) == 0 && ok;
    ok = ::fsync(::fileno(f.get())) == 0 && ok;
    ok = std::fclose(f.release()) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return ReplaceStatus::CannotWrite;
    }
    return ReplaceStatus::Ok;
}

} // namespace qm
