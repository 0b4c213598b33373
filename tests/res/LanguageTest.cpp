#include <gtest/gtest.h>

#include "res/StringTable.h"
#include "res/TextCodec.h"

namespace qm {
namespace {

TEST(Language, LookupInBothLanguages) {
    EXPECT_EQ(Tr(5647, kLanguageEnglish), "QM7100 Workdesk");
    EXPECT_EQ(Tr(5512, kLanguageEnglish), "Level Analysis");
    EXPECT_EQ(Tr(5512, kLanguageChinese), TextById(5012));
    EXPECT_NE(Tr(5512, kLanguageChinese), Tr(5512, kLanguageEnglish));
    // Id 100 has no English twin and reads the same in both languages.
    EXPECT_EQ(Tr(txt::kOleInitFailed, kLanguageEnglish), Tr(txt::kOleInitFailed, kLanguageChinese));
    EXPECT_FALSE(Tr(txt::kOleInitFailed, kLanguageEnglish).empty());
    EXPECT_EQ(Tr(5999, kLanguageEnglish), "");
    SetLanguageBase(kLanguageEnglish);
    EXPECT_EQ(ProgramTitle(), "QM7100 Workdesk");
}

TEST(TextCodec, AnsiNamesBecomeUtf8) {
    EXPECT_EQ(AnsiToUtf8("FILE001", kLanguageEnglish), "FILE001");
    EXPECT_EQ(AnsiToUtf8("\xB5V", kLanguageEnglish), "\xC2\xB5V");       // Windows-1252 micro
    EXPECT_EQ(AnsiToUtf8("\xB5\xE7", kLanguageChinese), "\xE7\x94\xB5"); // GBK 电
    EXPECT_EQ(Utf8ToAnsi("\xE7\x94\xB5", kLanguageChinese), "\xB5\xE7");
    EXPECT_TRUE(IsValidUtf8("\xE7\x94\xB5"));
    EXPECT_FALSE(IsValidUtf8("\xE7\x94"));
    // GBK 来立 is an overlong form in UTF-8's eyes, not UTF-8: it is converted.
    EXPECT_EQ(AnsiToUtf8("\xC0\xB4\xC1\xA2", kLanguageChinese), "\xE6\x9D\xA5\xE7\xAB\x8B");
    for (const char* notUtf8 : {"\xED\xA0\x80", "\xE0\x9F\xBF", "\xF4\x90\x80\x80", "\xF5\x80"})
        EXPECT_FALSE(IsValidUtf8(notUtf8));
}

} // namespace
} // namespace qm
