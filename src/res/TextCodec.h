#pragma once

#include <string>
#include <string_view>

namespace qm {

// Text from the meter (file names, channel names) is 8-bit ANSI. Shown as UTF-8: valid UTF-8
// (ASCII included) stays as it is; other bytes are read in the ANSI code page of the language
// in use (GBK for Chinese, Windows-1252 otherwise).
std::string AnsiToUtf8(std::string_view ansi, int languageBase);
std::string AnsiToUtf8(std::string_view ansi);

// The inverse for text typed by the user; characters the code page lacks become '?'.
std::string Utf8ToAnsi(std::string_view utf8, int languageBase);
std::string Utf8ToAnsi(std::string_view utf8);

bool IsValidUtf8(std::string_view text);

} // namespace qm
