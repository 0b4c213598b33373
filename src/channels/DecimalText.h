#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// The leading decimal number of a text typed into the channel grid: leading white space is
// skipped, an optional sign, digits, an optional point and fraction digits; anything after it
// is ignored. Kept as digits so that scaling truncates exactly ("4.35" x 100 is 435, which a
// binary floating-point product would make 434).
class DecimalText {
public:
    explicit DecimalText(std::string_view text);

    // True when the text starts with a number (after white space).
    bool HasNumber() const { return m_hasNumber; }
    // Value x 10^digits truncated toward zero, saturated to +-10^15; 0 without a number.
    std::int64_t Scaled(int digits) const;
    // True when the value has non-zero fraction digits beyond the first `digits`.
    bool HasMoreDigits(int digits) const;

private:
    bool m_hasNumber = false;
    bool m_negative = false;
    std::string m_integer;  // digits, leading zeros removed
    std::string m_fraction; // digits after the point
};

} // namespace qm
