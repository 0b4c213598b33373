#include "support/JsonReader.h"

#include <cstdlib>

namespace qm::test {

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : m_s(text) {}

    bool Document(JsonValue& v) {
        if (!Value(v))
            return false;
        Space();
        return m_i == m_s.size();
    }

private:
    void Space() {
        while (m_i < m_s.size() &&
               (m_s[m_i] == ' ' || m_s[m_i] == '\t' || m_s[m_i] == '\n' || m_s[m_i] == '\r'))
            ++m_i;
    }
    bool Eat(char c) {
        Space();
        if (m_i < m_s.size() && m_s[m_i] == c) {
            ++m_i;
            return true;
        }
        return false;
    }
    bool Word(const char* word) {
        const std::string w = word;
        if (m_s.compare(m_i, w.size(), w) != 0)
            return false;
        m_i += w.size();
        return true;
    }
    bool Value(JsonValue& v) {
        Space();
        if (m_i >= m_s.size() || ++m_depth > 64)
            return false;
        bool ok = false;
        const char c = m_s[m_i];
        if (c == '{')
            ok = Object(v);
        else if (c == '[')
            ok = Array(v);
        else if (c == '"')
            ok = (v.type = JsonValue::Type::String, String(v.text));
        else if (Word("null"))
            ok = (v.type = JsonValue::Type::Null, true);
        else if (Word("true"))
            ok = (v.type = JsonValue::Type::Bool, v.text = "true", true);
        else if (Word("false"))
            ok = (v.type = JsonValue::Type::Bool, v.text = "false", true);
        else
            ok = Number(v);
        --m_depth;
        return ok;
    }
    bool Object(JsonValue& v) {
        v.type = JsonValue::Type::Object;
        ++m_i;
        if (Eat('}'))
            return true;
        do {
            std::string key;
            Space();
            if (m_i >= m_s.size() || m_s[m_i] != '"' || !String(key) || !Eat(':'))
                return false;
            if (!Value(v.members[key]))
                return false;
        } while (Eat(','));
        return Eat('}');
    }
    bool Array(JsonValue& v) {
        v.type = JsonValue::Type::Array;
        ++m_i;
        if (Eat(']'))
            return true;
        do {
            v.items.emplace_back();
            if (!Value(v.items.back()))
                return false;
        } while (Eat(','));
        return Eat(']');
    }
    bool Digits() {
        const std::size_t start = m_i;
        while (m_i < m_s.size() && m_s[m_i] >= '0' && m_s[m_i] <= '9')
            ++m_i;
        return m_i > start;
    }
    bool Number(JsonValue& v) {
        const std::size_t start = m_i;
        if (m_s[m_i] == '-')
            ++m_i;
        const std::size_t first = m_i;
        if (!Digits() || (m_s[first] == '0' && m_i - first > 1))
            return false;
        if (m_i < m_s.size() && m_s[m_i] == '.' && (++m_i, !Digits()))
            return false;
        if (m_i < m_s.size() && (m_s[m_i] == 'e' || m_s[m_i] == 'E')) {
            ++m_i;
            if (m_i < m_s.size() && (m_s[m_i] == '+' || m_s[m_i] == '-'))
                ++m_i;
            if (!Digits())
                return false;
        }
        v.type = JsonValue::Type::Number;
        v.text = m_s.substr(start, m_i - start);
        return true;
    }
    bool Hex4(unsigned& code) {
        if (m_i + 4 > m_s.size())
            return false;
        char* end = nullptr;
        const std::string hex = m_s.substr(m_i, 4);
        code = static_cast<unsigned>(std::strtoul(hex.c_str(), &end, 16));
        m_i += 4;
        return end == hex.c_str() + 4;
    }
    static void Utf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    bool String(std::string& out) {
        ++m_i; // opening quote
        while (m_i < m_s.size()) {
            const auto c = static_cast<unsigned char>(m_s[m_i++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (m_i >= m_s.size())
                return false;
            const char e = m_s[m_i++];
            const std::string simple = "\"\\/bfnrt";
            const std::string meant = "\"\\/\b\f\n\r\t";
            if (const auto k = simple.find(e); k != std::string::npos) {
                out += meant[k];
                continue;
            }
            unsigned code = 0;
            if (e != 'u' || !Hex4(code))
                return false;
            if (code >= 0xD800 && code <= 0xDBFF) {
                unsigned low = 0;
                if (!Word("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                    return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            }
            Utf8(out, code);
        }
        return false;
    }

    const std::string& m_s;
    std::size_t m_i = 0;
    int m_depth = 0;
};

} // namespace

std::optional<JsonValue> ParseJson(const std::string& text) {
    JsonValue v;
    if (!Parser(text).Document(v))
        return std::nullopt;
    return v;
}

} // namespace qm::test
