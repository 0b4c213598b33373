#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qm {

// Size of the loaded element that holds a measurement file of any kind (MeterKind.h).
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
