#pragma once

#include <cstddef>
#include <string_view>

namespace qm::fuzz {

// UTF-8 as Unicode defines it, written apart from the program's own check so that it can judge
// it: no overlong forms, no surrogates, nothing above U+10FFFF.
inline bool StrictUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned c = static_cast<unsigned char>(s[i]);
        std::size_t follow = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (s.size() - i <= follow)
            return false;
        for (std::size_t k = 1; k <= follow; ++k) {
            const unsigned t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        const unsigned least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[follow] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
}

} // namespace qm::fuzz
