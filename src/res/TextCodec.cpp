#include "res/TextCodec.h"

#include <cerrno>

#include <iconv.h>

#include "res/StringTable.h"

namespace qm {

namespace {

std::string Convert(std::string_view in, const char* to, const char* from) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in);
    std::string out;
    char buf[256];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
        char* dst = buf;
        std::size_t room = sizeof buf;
        std::size_t r = ::iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += '?'; // a byte or character the other side cannot represent
            ++src;
            --left;
        }
    }
    ::iconv_close(cd);
    return out;
}

const char* CodePage(int languageBase) {
    return languageBase == kLanguageChinese ? "GBK" : "WINDOWS-1252";
}

} // namespace

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t follow;
        if (c < 0x80)
            follow = 0;
        else if ((c >> 5) == 0x6)
            follow = 1;
        else if ((c >> 4) == 0xE)
            follow = 2;
        else if ((c >> 3) == 0x1E)
            follow = 3;
        else
            return false;
        if (follow >= s.size() - i)
            return follow == 0;
        for (std::size_t k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2)
                return false;
        i += follow + 1;
    }
    return true;
}

std::string AnsiToUtf8(std::string_view ansi, int languageBase) {
    if (IsValidUtf8(ansi))
        return std::string(ansi);
    return Convert(ansi, "UTF-8", CodePage(languageBase));
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
    return Convert(utf8, CodePage(languageBase), "UTF-8");
}

std::string Utf8ToAnsi(std::string_view utf8) {
    return Utf8ToAnsi(utf8, LanguageBase());
}

} // namespace qm
