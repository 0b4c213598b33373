#include "base/JsonWriter.h"

#include <cmath>
#include <cstdio>

namespace qm {

namespace {

// Length of the UTF-8 sequence starting at text[i], 0 when the bytes there are not one.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 0 : length;
}

} // namespace

bool IsPlainDecimal(std::string_view text) {
    std::size_t i = text.starts_with('-') ? 1 : 0;
    const std::size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::size_t digits = i - digitsStart;
    if (digits == 0 || (digits > 1 && text[digitsStart] == '0'))
        return false;
    if (i == text.size())
        return true;
    if (text[i] != '.' || i + 1 == text.size())
        return false;
    for (++i; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const std::size_t length = Utf8Length(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        ++i;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_filled.empty()) {
        if (m_filled.back())
            m_text += ',';
        m_filled.back() = true;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    m_text += '{';
    m_filled.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    m_text += '}';
    m_filled.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    m_text += '[';
    m_filled.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    m_text += ']';
    m_filled.pop_back();
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    m_text += JsonQuoted(key) + ':';
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    m_text += JsonQuoted(text);
    return *this;
}

JsonWriter& JsonWriter::Number(long value) {
    BeforeValue();
    m_text += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Number(double value, int decimals) {
    if (!std::isfinite(value))
        return Null();
    BeforeValue();
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // A negative value that rounds to zero would read back as a negative zero.
    const bool negativeZero =
        text[0] == '-' && std::string_view(text).find_first_not_of("-0.") == std::string_view::npos;
    m_text += negativeZero ? text + 1 : text;
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    m_text += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    m_text += "null";
    return *this;
}

JsonWriter& JsonWriter::Cell(std::string_view text) {
    if (text == "---")
        return Null();
    if (!IsPlainDecimal(text))
        return String(text);
    BeforeValue();
    m_text += text;
    return *this;
}

JsonWriter& JsonWriter::Cells(const std::vector<std::string>& texts) {
    BeginArray();
    for (const std::string& text : texts)
        Cell(text);
    return EndArray();
}

} // namespace qm
