#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm {

// 24-bit uncompressed bitmap files: the 14-byte file header, the 40-byte information header
// and the pixel rows, bottom row first, each padded to a multiple of 4 bytes.
inline constexpr std::size_t kBitmapHeaderSize = 54;

// Bytes of one pixel row of a 24-bit picture w pixels wide: ((w * 24 + 31) / 32) * 4.
std::size_t BitmapRowSize(int width);

// The 54 header bytes of a 24-bit picture; the file size field is pixel bytes + 54.
std::vector<std::uint8_t> BitmapHeader(int width, int height);

// Header and rows; rows must hold BitmapRowSize(width) * height bytes (missing ones become
// black, surplus ones are dropped).
std::vector<std::uint8_t> BitmapFileBytes(int width, int height,
                                          std::span<const std::uint8_t> rows);

} // namespace qm
