#include "res/TextCodec.h"

#include "base/Platform.h"
#include "res/StringTable.h"

namespace qm {

namespace {

unsigned CodePage(int languageBase) {
    return languageBase == kLanguageChinese ? kCodePageGbk : kCodePageWestern;
}

} // namespace

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        // Overlong forms, surrogates and values above U+10FFFF are not UTF-8: GBK text such as
        // C0 B4 C1 A2 would otherwise pass for it and never be converted. The second byte's
        // range is what rules them out.
        std::size_t follow;
        unsigned char low = 0x80, high = 0xBF;
        if (c < 0x80)
            follow = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            follow = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            follow = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            follow = 3;
        else
            return false;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
        else if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
        if (follow >= s.size() - i)
            return follow == 0;
        for (std::size_t k = 1; k <= follow; ++k) {
            const unsigned char t = static_cast<unsigned char>(s[i + k]);
            if (k == 1 ? (t < low || t > high) : (t >> 6) != 0x2)
                return false;
        }
        i += follow + 1;
    }
    return true;
}

std::string AnsiToUtf8(std::string_view ansi, int languageBase) {
    if (IsValidUtf8(ansi))
        return std::string(ansi);
    return CodePageToUtf8(ansi, CodePage(languageBase));
}

std::string AnsiToUtf8(std::string_view ansi) {
    return AnsiToUtf8(ansi, LanguageBase());
}

std::string Utf8ToAnsi(std::string_view utf8, int languageBase) {
    bool ascii = true;
    for (char c : utf8)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return std::string(utf8);
    return Utf8ToCodePage(utf8, CodePage(languageBase));
}

std::string Utf8ToAnsi(std::string_view utf8) {
    return Utf8ToAnsi(utf8, LanguageBase());
}

} // namespace qm
