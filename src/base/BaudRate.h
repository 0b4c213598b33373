#pragma once

#include <cstdint>

namespace qm {

// The rate a port is opened at for a baud setting read as a number: 0, which no port accepts,
// when the number is not positive or does not fit.
constexpr std::uint32_t BaudRateOf(long baud) {
    return baud > 0 && static_cast<unsigned long>(baud) <= 0xFFFFFFFFUL
               ? static_cast<std::uint32_t>(baud)
               : 0;
}

} // namespace qm
