#include "channels/DecimalText.h"

namespace qm {

namespace {

constexpr std::int64_t kSaturation = 1'000'000'000'000'000; // 10^15

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

} // namespace

DecimalText::DecimalText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        m_negative = text[i] == '-';
        ++i;
    }
    bool digits = false;
    while (i < text.size() && IsDigit(text[i])) {
        if (!m_integer.empty() || text[i] != '0')
            m_integer += text[i];
        digits = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            m_fraction += text[i];
            digits = true;
            ++i;
        }
    }
    m_hasNumber = digits;
    if (!digits)
        m_negative = false;
}

std::int64_t DecimalText::Scaled(int digits) const {
    std::int64_t value = 0;
    std::string all = m_integer;
    for (int d = 0; d < digits; ++d)
        all += static_cast<std::size_t>(d) < m_fraction.size() ? m_fraction[d] : '0';
    for (char c : all) {
        value = value * 10 + (c - '0');
        if (value >= kSaturation) {
            value = kSaturation;
            break;
        }
    }
    return m_negative ? -value : value;
}

bool DecimalText::HasMoreDigits(int digits) const {
    for (std::size_t d = static_cast<std::size_t>(digits); d < m_fraction.size(); ++d) {
        if (m_fraction[d] != '0')
            return true;
    }
    return false;
}

} // namespace qm
