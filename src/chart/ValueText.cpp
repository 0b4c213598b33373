#include "chart/ValueText.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace qm {

namespace {

constexpr double kPixelLimit = 1 << 28;
constexpr double kIntegerLimit = 9.0e18;

// One printf conversion, checked before it reaches snprintf: flags, width and precision of at
// most two digits, and a numeric conversion letter. Anything else is not a number format.
struct NumberFormat {
    std::string pattern;
    char letter = 0;
    std::size_t letterPos = 0;
};

bool IsIntegerLetter(char c) {
    return c == 'd' || c == 'i' || c == 'o' || c == 'u' || c == 'x' || c == 'X';
}
bool IsFloatLetter(char c) {
    return c == 'e' || c == 'E' || c == 'f' || c == 'F' || c == 'g' || c == 'G' || c == 'a' ||
           c == 'A';
}

bool ParseNumberFormat(const QString& format, NumberFormat& out) {
    const std::string s = format.toStdString();
    int conversions = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%')
            continue;
        if (i + 1 < s.size() && s[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < s.size() && std::string_view("-+ #0").find(s[j]) != std::string_view::npos)
            ++j;
        auto digits = [&](std::size_t& k) {
            std::size_t start = k;
            while (k < s.size() && s[k] >= '0' && s[k] <= '9')
                ++k;
            return k - start;
        };
        if (digits(j) > 2)
            return false;
        if (j < s.size() && s[j] == '.') {
            ++j;
            if (digits(j) > 2)
                return false;
        }
        if (j >= s.size() || !(IsIntegerLetter(s[j]) || IsFloatLetter(s[j])))
            return false;
        out.letter = s[j];
        out.letterPos = j;
        ++conversions;
        i = j;
    }
    out.pattern = s;
    return conversions == 1;
}

// The format text itself, as printf would show a format without conversions.
QString LiteralText(const QString& format) {
    QString text = format;
    return text.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

QString FormatInteger(const NumberFormat& f, long long value) {
    char buf[512];
    std::string p = f.pattern;
    p.insert(f.letterPos, "ll");
    if (f.letter == 'd' || f.letter == 'i')
        std::snprintf(buf, sizeof buf, p.c_str(), value);
    else
        std::snprintf(buf, sizeof buf, p.c_str(), static_cast<unsigned long long>(value));
    return QString::fromUtf8(buf);
}

QString FormatDouble(const NumberFormat& f, double value) {
    char buf[512];
    std::snprintf(buf, sizeof buf, f.pattern.c_str(), value);
    return QString::fromUtf8(buf);
}

long long TruncToInteger(double value) {
    if (std::isnan(value))
        return 0;
    if (value > kIntegerLimit)
        return static_cast<long long>(kIntegerLimit);
    if (value < -kIntegerLimit)
        return static_cast<long long>(-kIntegerLimit);
    return static_cast<long long>(value);
}

} // namespace

QString DecimalsFormat(int decimals) {
    if (decimals < 0)
        decimals = 0;
    if (decimals > 99)
        decimals = 99;
    return QStringLiteral("%.") + QString::number(decimals) + QStringLiteral("f");
}

QString ValueText(double value, const QString& format) {
    const bool fractional = std::fabs(value) > std::fabs(std::trunc(value));
    if (fractional) {
        NumberFormat f;
        if (ParseNumberFormat(format, f))
            return IsFloatLetter(f.letter) ? FormatDouble(f, value)
                                           : FormatInteger(f, TruncToInteger(value));
        return LiteralText(format);
    }
    return QString::number(TruncToInteger(value));
}

QString LabelText(const AxisLabel& label, LabelAxis axis) {
    QString format = label.format;
    if (!format.contains(QLatin1Char('%')))
        format = QStringLiteral("%d");
    NumberFormat f;
    if (!ParseNumberFormat(format, f))
        return LiteralText(format);
    if (f.letter == 'd')
        return FormatInteger(f, label.intValue);
    if (axis == LabelAxis::Row) {
        if (f.letter == 'e')
            return FormatDouble(f, static_cast<double>(label.floatValue));
        if (IsIntegerLetter(f.letter))
            return FormatInteger(f, label.intValue);
        return FormatDouble(f, label.value);
    }
    if (IsIntegerLetter(f.letter))
        return FormatInteger(f, TruncToInteger(label.value));
    return FormatDouble(f, label.value);
}

int TruncToPixel(double value) {
    if (std::isnan(value))
        return 0;
    if (value > kPixelLimit)
        return static_cast<int>(kPixelLimit);
    if (value < -kPixelLimit)
        return static_cast<int>(-kPixelLimit);
    return static_cast<int>(value);
}

} // namespace qm
