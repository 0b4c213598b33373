#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qm {

// SHA-256 of a byte run, as 64 lower-case hexadecimal digits: the identity of a measurement
// file in the archive.
std::string Sha256Hex(const std::uint8_t* data, std::size_t size);

} // namespace qm
