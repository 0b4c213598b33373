#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qm {

// Sizes of a measurement file by meter kind, and of the loaded element that holds one.
inline constexpr std::size_t kFileSizeCompact = 9238;   // kind 0
inline constexpr std::size_t kFileSizeExtended = 10598; // kinds 1 and 2
inline constexpr std::size_t kElementSize = 10599;

// One loaded measurement file: the meter kind byte followed by the file as the meter stores
// it (a kind 0 file fills 9238 bytes, the rest stays zero). Copied by value and written to
// project files byte for byte.
struct _tagFileDataExt {
    std::uint8_t kind = 0;
    std::array<std::uint8_t, kElementSize - 1> file{};

    const std::uint8_t* Bytes() const { return &kind; }
    std::uint8_t* Bytes() { return &kind; }
};
static_assert(sizeof(_tagFileDataExt) == kElementSize, "the element is a packed 10599-byte record");

} // namespace qm
