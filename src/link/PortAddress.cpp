#include "link/PortAddress.h"

#include <climits>
#include <cstdio>

#include "base/TextTrim.h"

namespace qm {

namespace {

// The port number that means no port is configured, and the highest number the silent
// connect uses as it stands.
constexpr long kNotConfigured = 300;
constexpr long kHighestPort = 256;

} // namespace

std::string PortDeviceName(int number) {
    char name[32];
#if defined(_WIN32)
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", number);
#else
    std::snprintf(name, sizeof name, "/dev/ttyUSB%d", number - 1);
#endif
    return name;
}

long DecimalValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && kLineBlanks.find(text[i]) != std::string_view::npos)
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > (LONG_MAX - 9) / 10) {
            value = LONG_MAX;
            break;
        }
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

PortAddress ParsePortSetting(std::string_view text) {
    PortAddress address;
    const std::string_view trimmed = Trim(text, kLineBlanks);
    if (trimmed.find('/') != std::string_view::npos) {
        address.configured = true;
        address.device = std::string(trimmed);
        return address;
    }
    std::string_view digits = trimmed;
    if (digits.size() > 3 && (digits[0] == 'C' || digits[0] == 'c') &&
        (digits[1] == 'O' || digits[1] == 'o') && (digits[2] == 'M' || digits[2] == 'm'))
        digits.remove_prefix(3);
    const long number = DecimalValue(digits);
    if (number == kNotConfigured)
        return address;
    address.configured = true;
    address.number = number < 1 || number > kHighestPort ? 1 : static_cast<int>(number);
    return address;
}

} // namespace qm
