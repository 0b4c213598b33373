#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/Archive.h"

namespace qm {

struct LimitProfile;

enum class TrendQuantity { Level, Mer, Ber, Audio };

// "level", "mer", "ber", "audio".
bool ParseTrendQuantity(const std::string& text, TrendQuantity& quantity);
const char* TrendQuantityName(TrendQuantity quantity);

// One measurement's value of a channel.
struct TrendPoint {
    ArchivedMeasurement measurement;
    int channel = 0;
    std::string type;
    std::string section; // the pane it comes from: "level", "scan" or "tilt"; empty: none
    std::string text;    // as the pane shows it, "---" when it has no value
    // The number a chart draws: a bound such as ">30" or "<1.0E-9" counts as its number,
    // "Unlock" and "---" as none.
    std::optional<double> value;
};

// A channel's values over time: every measurement of the site that holds the frequency, in
// date order. A level comes from the level pane, else the scan pane, else the tilt pane;
// audio from the level pane, else the scan pane; MER and BER from the level pane (BER in the
// column the limits judge: PRE-BER for cable channels, the second one for DVB-T and T2).
ArchiveResult ArchiveTrend(Archive& archive, const std::string& site, std::uint32_t frequency,
                           TrendQuantity quantity, std::vector<TrendPoint>& points);

// The number a shown value stands for, as TrendPoint::value.
std::optional<double> TrendValue(const std::string& text);

// A profile's bounds of the quantity for the channel at the frequency, by the plan of the
// element (the latest measurement): levels between a minimum and a maximum, MER at least,
// BER at most; audio has none of its own.
struct TrendBounds {
    std::optional<double> low, high;
};
TrendBounds TrendLimits(const _tagFileDataExt& element, std::uint32_t frequency,
                        TrendQuantity quantity, const LimitProfile& profile);

// "474.25" (MHz) as hundredths of a MHz; false for anything that is not a frequency.
bool ParseFrequencyMHz(const std::string& text, std::uint32_t& frequency);

} // namespace qm
