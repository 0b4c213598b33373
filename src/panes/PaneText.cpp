#include "panes/PaneText.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "measurement/MeterKind.h"

namespace qm {

std::optional<std::string> SignalTypeText(int kind, int type, Kind0Digital rule) {
    if (IsKind(kind, MeterKind::Compact)) {
        if (type == 0)
            return "TV";
        if (type == 1 || rule == Kind0Digital::AnyNonZero)
            return "DIGI";
        return std::nullopt;
    }
    static constexpr const char* kExtended[] = {"TV", "DVB-C", "DVB-T", "DVB-T2"};
    const MeterKindTraits* traits = FindKind(kind);
    const int types = traits ? traits->signalTypes : 0;
    if (type < 0 || type >= types)
        return std::nullopt;
    return kExtended[type];
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (size > 0) {
        std::vector<char> buf(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, args);
        text.assign(buf.data(), static_cast<std::size_t>(size));
    }
    va_end(args);
    return text;
}

std::string Tenths(double tenths) {
    return Format("%.1f", tenths / 10.0);
}

double KindLevel(std::uint16_t raw, int kind) {
    return HasSignedLevels(kind) ? static_cast<double>(static_cast<std::int16_t>(raw))
                                 : static_cast<double>(raw);
}

std::string ToTextMode(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace qm
