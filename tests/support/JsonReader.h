#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qm::test {

// A parsed JSON value for tests. Numbers keep their literal text so a table cell can be
// compared with the text the tools print.
struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    std::string text; // a string's value, a number's literal, "true"/"false"
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    const JsonValue& operator[](const std::string& key) const { return members.at(key); }
    const JsonValue& operator[](std::size_t i) const { return items.at(i); }
};

// Strict parse of one whole document (RFC 8259, surrogate pairs included); nullopt on any
// fault.
std::optional<JsonValue> ParseJson(const std::string& text);

} // namespace qm::test
