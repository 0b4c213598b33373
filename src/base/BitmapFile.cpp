#include "base/BitmapFile.h"

#include <algorithm>

namespace qm {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

std::size_t BitmapRowSize(int width) {
    return static_cast<std::size_t>((std::max(0, width) * 24 + 31) / 32) * 4;
}

std::vector<std::uint8_t> BitmapHeader(int width, int height) {
    const std::size_t pixels = BitmapRowSize(width) * static_cast<std::size_t>(std::max(0, height));
    std::vector<std::uint8_t> h(kBitmapHeaderSize, 0);
    h[0] = 'B';
    h[1] = 'M';
    Put32(h, 2, static_cast<std::uint32_t>(pixels + kBitmapHeaderSize));
    Put32(h, 10, static_cast<std::uint32_t>(kBitmapHeaderSize));
    Put32(h, 14, 40);
    Put32(h, 18, static_cast<std::uint32_t>(width));
    Put32(h, 22, static_cast<std::uint32_t>(height));
    Put16(h, 26, 1);
    Put16(h, 28, 24);
    Put32(h, 34, static_cast<std::uint32_t>(pixels));
    return h;
}

std::vector<std::uint8_t> BitmapFileBytes(int width, int height,
                                          std::span<const std::uint8_t> rows) {
    std::vector<std::uint8_t> file = BitmapHeader(width, height);
    const std::size_t pixels = BitmapRowSize(width) * static_cast<std::size_t>(std::max(0, height));
    file.resize(kBitmapHeaderSize + pixels, 0);
    std::copy_n(rows.begin(), std::min(pixels, rows.size()), file.begin() + kBitmapHeaderSize);
    return file;
}

} // namespace qm
