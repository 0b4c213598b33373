#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "measurement/FileDataExt.h"

namespace qm::fuzz {

// The first kElementSize bytes of the input as one loaded element (kind byte included); a short
// input leaves the rest zero. The bytes after the element are handed back for the extras.
inline _tagFileDataExt ElementFrom(const std::uint8_t*& data, std::size_t& size) {
    _tagFileDataExt element;
    const std::size_t n = std::min(size, kElementSize);
    if (n > 0)
        std::memcpy(element.Bytes(), data, n);
    data += n;
    size -= n;
    return element;
}

} // namespace qm::fuzz
