#pragma once

#include <string>
#include <string_view>

namespace qm {

// The two language bases: texts are looked up at (language base + Chinese id).
inline constexpr int kLanguageChinese = 0;
inline constexpr int kLanguageEnglish = 500;

// Id of the one text that exists in Chinese only.
inline constexpr int kIdsOleInitFailed = 100;

// Language base for a POSIX locale name such as "zh_CN.UTF-8": Chinese only for the PRC.
int LanguageBaseForLocale(std::string_view locale);

// Language base of the user: LC_ALL, LC_MESSAGES or LANG; on Windows the user's interface
// language, where 0x0804 (Chinese, PRC) gives the Chinese base.
int SystemLanguageBase();

// The process-wide language base, chosen once at start (English until set).
int LanguageBase();
void SetLanguageBase(int base);

// Text of an English string id (55xx) in the given language; ids without an English twin
// (such as 100) are returned as they are. Unknown ids give an empty text.
std::string Tr(int englishId, int languageBase);
// Same, in the process-wide language.
std::string Tr(int englishId);

// The program title, the caption of every dialog message box: "QM7100 Workdesk" in English.
std::string ProgramTitle();

// Raw lookup by table id; empty when the id is not in the table.
const std::string& TextById(int id);
bool HasText(int id);

} // namespace qm
