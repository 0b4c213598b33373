#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "res/TextIds.h"

namespace qm {

// The "no value" mark of tables and exports.
inline constexpr const char* kNoValue = "---";

// How a kind 0 file names its types: the tilt and scan panes call every non-zero type
// "DIGI", the level, limit and hum panes only type 1.
enum class Kind0Digital { AnyNonZero, TypeOneOnly };

// Type text of a signal type in a file of the kind; nullopt when the kind has no text for it.
std::optional<std::string> SignalTypeText(int kind, int type, Kind0Digital rule);
inline bool IsAnalogue(int type) {
    return type == 0;
}

// printf-style formatting into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "%.1f" of a count of tenths.
std::string Tenths(double tenths);

// Spectrum and limit values: unsigned 16 bits in kind 0 and 1 files, signed in kind 2 files.
double KindLevel(std::uint16_t raw, int kind);

// What a text-mode stream writes for text: every line feed becomes CR LF.
std::string ToTextMode(std::string_view text);

} // namespace qm
