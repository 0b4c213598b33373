#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "res/TextIds.h"

namespace qm {

// The two language bases: texts are looked up at (language base + Chinese id).
inline constexpr int kLanguageChinese = 0;
inline constexpr int kLanguageEnglish = 500;

// Every text lives in texts.txt under a key; code names it by its generated id, txt::kKEY,
// which for the string table's texts is the table's English id (55xx).
// txt::kOleInitFailed (100) is the one text that exists in Chinese only.

// Language base for a POSIX locale name such as "zh_CN.UTF-8": Chinese only for the PRC.
int LanguageBaseForLocale(std::string_view locale);

// Language base of the user: LC_ALL, LC_MESSAGES or LANG; on Windows the user's interface
// language, where 0x0804 (Chinese, PRC) gives the Chinese base.
int SystemLanguageBase();

// The process-wide language base, chosen once at start (English until set).
int LanguageBase();
void SetLanguageBase(int base);

// Text of a text id (txt::kKEY, or a string table English id 55xx) in the given language; ids
// without an English twin (such as 100) are returned as they are. Unknown ids give an empty
// text.
std::string Tr(int englishId, int languageBase);
// Same, in the process-wide language.
std::string Tr(int englishId);

// Fills the "%s" placeholders of a text in order. Values are taken as they are, so a file name
// or a typed argument holding "%" is safe.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values);
// Fill(Tr(id), values).
std::string TrFill(int id, std::initializer_list<std::string_view> values);

// The system's reason for a failed file or device call (an errno value) in the program's
// language: the common ones are texts of the program, the rest the C library's words.
std::string ErrnoText(int error);

// The program title, the caption of every dialog message box: "QM7100 Workdesk" in English.
std::string ProgramTitle();

// Raw lookup by table id (a Chinese id 50xx gives the Chinese twin of 55xx, an id of the
// program's own gives its English text); empty when the id is not in the table.
const std::string& TextById(int id);
bool HasText(int id);
// The key texts.txt gives a text id, empty for an unknown id.
std::string TextKey(int id);

} // namespace qm
