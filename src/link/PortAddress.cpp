#include "link/PortAddress.h"

#include "res/StringTable.h"

#include <climits>
#include <cstdio>

#include "base/TextTrim.h"

namespace qm {

namespace {

// The port number that means no port is configured.
constexpr long kNotConfigured = 300;

bool IsPath(std::string_view text) {
#if defined(_WIN32)
    if (text.find('\\') != std::string_view::npos)
        return true;
#endif
    return text.find('/') != std::string_view::npos;
}

bool StartsWithCom(std::string_view text) {
    return text.size() > 3 && (text[0] == 'C' || text[0] == 'c') &&
           (text[1] == 'O' || text[1] == 'o') && (text[2] == 'M' || text[2] == 'm');
}

// All digits; a run longer than any port number counts as far out of range. -1 otherwise.
long StrictNumber(std::string_view digits) {
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return -1;
    if (digits.size() > 6)
        return LONG_MAX;
    long value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

} // namespace

std::string PortAddress::SettingText() const {
    return device.empty() ? std::to_string(number) : device;
}

std::string PortAddress::DeviceName() const {
    return device.empty() ? PortDeviceName(number) : device;
}

std::string PortDeviceName(int number) {
    char name[32];
#if defined(_WIN32)
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", number);
#else
    std::snprintf(name, sizeof name, "/dev/ttyUSB%d", number - 1);
#endif
    return name;
}

std::string PortDisplayName(const std::string& device) {
    for (int number = 1; number <= kHighestPort; ++number)
        if (device == PortDeviceName(number))
            return "COM" + std::to_string(number);
    return device;
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

PortParse ParsePortText(std::string_view text) {
    PortParse result;
    const std::string_view trimmed = Trim(text, kLineBlanks);
    if (trimmed.empty()) {
        result.refusal = PortRefusal::Empty;
        return result;
    }
    for (char c : trimmed) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            result.refusal = PortRefusal::BadChar;
            return result;
        }
    }
    if (IsPath(trimmed)) {
        result.address.configured = true;
        result.address.device = std::string(trimmed);
        return result;
    }
    std::string_view digits = trimmed;
    if (StartsWithCom(digits))
        digits.remove_prefix(3);
    const long number = StrictNumber(digits);
    if (number < 0) {
        result.refusal = PortRefusal::NotAPort;
        return result;
    }
    if (number < 1 || number > kHighestPort) {
        result.refusal = PortRefusal::OutOfRange;
        return result;
    }
    result.address.configured = true;
    result.address.number = static_cast<int>(number);
    return result;
}

std::string PortRefusalText(PortRefusal refusal) {
    switch (refusal) {
    case PortRefusal::None:
        return {};
    case PortRefusal::Empty:
        return Tr(txt::kPortEmpty);
    case PortRefusal::NotAPort:
        return Tr(txt::kPortNotAPort);
    case PortRefusal::OutOfRange:
        return Tr(txt::kPortOutOfRange);
    case PortRefusal::BadChar:
        return Tr(txt::kPortBadChar);
    }
    return {};
}

PortAddress ParsePortSetting(std::string_view text) {
    PortAddress address;
    const std::string_view trimmed = Trim(text, kLineBlanks);
    if (IsPath(trimmed)) {
        address.configured = true;
        address.device = std::string(trimmed);
        return address;
    }
    std::string_view digits = trimmed;
    if (StartsWithCom(digits))
        digits.remove_prefix(3);
    const long number = DecimalValue(digits);
    if (number == kNotConfigured)
        return address;
    address.configured = true;
    address.number = number < 1 || number > kHighestPort ? 1 : static_cast<int>(number);
    return address;
}

} // namespace qm
