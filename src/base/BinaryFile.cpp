#include "base/BinaryFile.h"

#include "base/Platform.h"

namespace qm {

ReplaceStatus ReplaceFileContents(const std::string& path,
                                  std::initializer_list<std::span<const std::uint8_t>> parts) {
    const std::string temp = path + ".part" + std::to_string(ProcessId());
    FilePtr f(OpenFile(temp, "wb"));
    if (!f)
        return ReplaceStatus::CannotCreate;
    bool ok = true;
    for (std::span<const std::uint8_t> part : parts)
        ok = ok &&
             (part.empty() || std::fwrite(part.data(), 1, part.size(), f.get()) == part.size());
    ok = SyncFile(f.get()) && ok;
    ok = std::fclose(f.release()) == 0 && ok;
    if (!ok || !MoveOver(temp, path)) {
        RemoveFile(temp);
        return ReplaceStatus::CannotWrite;
    }
    return ReplaceStatus::Ok;
}

} // namespace qm
