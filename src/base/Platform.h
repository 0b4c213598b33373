#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

// What differs between POSIX systems and Windows, in one place: Platform.cpp holds the POSIX
// side, PlatformWin32.cpp the Windows side, and the build picks one. File names are UTF-8 on
// both; Windows converts them to UTF-16 at the system call.
namespace qm {

// A path for the standard library's file calls (fstream, filesystem) from a UTF-8 name.
std::filesystem::path FsPath(const std::string& utf8);
// std::fopen with the name in UTF-8.
std::FILE* OpenFile(const std::string& utf8, const char* mode);
// Puts what was written to f on the disk (fsync, FlushFileBuffers); false when that fails.
bool SyncFile(std::FILE* f);
// Moves a complete temporary file over target in one step, replacing what was there: a
// rename on POSIX, MoveFileExW with write-through on Windows. False with errno set on failure.
bool MoveOver(const std::string& temp, const std::string& target);
bool RemoveFile(const std::string& utf8);
// Whether this user may create files in a folder (access(2); on Windows, by creating one).
bool IsWritableFolder(const std::string& utf8);
// Whether a device node exists, and the errno that opening it for reading and writing would
// meet (0 when allowed). Windows has no such nodes to probe: (false, 0), the port's own open
// tells what is wrong.
struct DeviceAccess {
    bool exists = false;
    int error = 0;
};
DeviceAccess ProbeDevice(const std::string& utf8);
// A number no other running process has, for temporary file names.
long ProcessId();

// The local time of a moment (localtime_r, localtime_s).
std::tm LocalTime(std::time_t when);

// Folder of the running executable, without a trailing separator; "." when unknown.
std::string ExecutableFolder();
// The user's folders for settings and for cached files, without the program's own folder:
// $XDG_CONFIG_HOME or ~/.config and $XDG_CACHE_HOME or ~/.cache; %APPDATA% and %LOCALAPPDATA%.
std::string UserConfigBase();
std::string UserCacheBase();
// The user's interface language as a POSIX locale name ("zh_CN.UTF-8", "en_US"): the first
// of LC_ALL, LC_MESSAGES and LANG that is set; on Windows the user's UI language, where
// 0x0804 (Chinese, PRC) is "zh_CN". Empty when nothing says.
std::string UserLocale();
// The locale name of a Windows language id: "zh_CN" for 0x0804, "zh_TW", "zh_HK", "zh_SG" and
// "zh_MO" for the other Chinese ones, "en" for everything else.
inline std::string LocaleOfLanguageId(unsigned languageId) {
    switch (languageId) {
    case 0x0804:
        return "zh_CN";
    case 0x0404:
        return "zh_TW";
    case 0x0C04:
        return "zh_HK";
    case 0x1004:
        return "zh_SG";
    case 0x1404:
        return "zh_MO";
    default:
        return "en";
    }
}

// The two code pages of the meter's 8-bit text, by their Windows numbers.
inline constexpr unsigned kCodePageGbk = 936;
inline constexpr unsigned kCodePageWestern = 1252;
// Text between a code page above and UTF-8 (iconv; MultiByteToWideChar and back). A byte or
// character the other side cannot represent becomes '?'.
std::string CodePageToUtf8(std::string_view text, unsigned codePage);
std::string Utf8ToCodePage(std::string_view text, unsigned codePage);

// Whether stream goes to a terminal or console window (where a progress bar may be drawn).
bool IsTerminal(std::FILE* stream);

// While one exists, the first Ctrl-C calls onInterrupt instead of ending the program (from a
// signal handler on POSIX, from another thread on Windows: it may only set an atomic flag); a
// second Ctrl-C ends the program as usual. Only one may exist at a time.
class InterruptHandler {
public:
    explicit InterruptHandler(void (*onInterrupt)());
    ~InterruptHandler();
    InterruptHandler(const InterruptHandler&) = delete;
    InterruptHandler& operator=(const InterruptHandler&) = delete;
};

#if defined(_WIN32)
// UTF-8 and the UTF-16 of Windows' system calls; invalid input gives an empty result.
std::wstring Utf16(const std::string& utf8);
std::string Utf8(const std::wstring& utf16);
#endif

} // namespace qm
