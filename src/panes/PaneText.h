#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// English string ids of the pane texts (the Chinese twin is 500 lower).
inline constexpr int kIdsFileName = 5530;
inline constexpr int kIdsFileDate = 5531;
inline constexpr int kIdsChannel = 5540;
inline constexpr int kIdsCenterFreq = 5543;
inline constexpr int kIdsPrint = 5547;
inline constexpr int kIdsGraphic = 5548;
inline constexpr int kIdsFile = 5549;
inline constexpr int kIdsExport = 5551;
inline constexpr int kIdsType = 5552;
inline constexpr int kIdsFrequency = 5553;
inline constexpr int kIdsVideo = 5554;
inline constexpr int kIdsParameters = 5557;
inline constexpr int kIdsMark = 5558;
inline constexpr int kIdsStepFreq = 5559;
inline constexpr int kIdsMax = 5560;
inline constexpr int kIdsLevel = 5562;
inline constexpr int kIdsAudio = 5566;
inline constexpr int kIdsPower = 5568;
inline constexpr int kIdsVideoPower = 5573;
inline constexpr int kIdsList = 5719;
inline constexpr int kIdsDescription = 5723;
inline constexpr int kIdsValue = 5724;
inline constexpr int kIdsNo = 5725;
inline constexpr int kIdsSpan = 5728;

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
