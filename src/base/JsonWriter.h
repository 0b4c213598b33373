#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Builds one JSON document as text, for scripts reading the tools' output. Commas, quotes and
// escapes are its business; the caller only states the structure. Key() comes before every
// value inside an object.
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(long value);
    JsonWriter& Number(double value, int decimals);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    // A table cell: "---" becomes null, a text that is a plain decimal number ("48.25",
    // "-3", not "07" or "12.5MHz") is written as that number literally, anything else as a
    // string.
    JsonWriter& Cell(std::string_view text);
    JsonWriter& Cells(const std::vector<std::string>& texts);

    // The document with a final line feed.
    std::string Text() const { return m_text + "\n"; }

private:
    void BeforeValue();
    std::string m_text;
    // Per open container: whether it already holds an element.
    std::vector<bool> m_filled;
    bool m_afterKey = false;
};

// True when text is a JSON number as this program writes table numbers: an optional minus,
// digits without a leading zero, an optional fraction.
bool IsPlainDecimal(std::string_view text);

// A JSON string literal of text, quotes included; bytes that are not UTF-8 become U+FFFD.
std::string JsonQuoted(std::string_view text);

} // namespace qm
