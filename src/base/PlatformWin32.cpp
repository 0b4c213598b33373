#include "base/Platform.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include <windows.h>

#include <io.h>

namespace qm {

namespace {

// Invalid input gives an empty result with flags MB_ERR_INVALID_CHARS, else replacements.
std::wstring WideOf(std::string_view text, UINT codePage, DWORD flags = 0) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n);
    return wide;
}

std::string NarrowOf(const std::wstring& wide, UINT codePage) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    // UTF-8 takes every character; a code page gives '?' for the ones it lacks.
    const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
    const int n =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, fallback, nullptr);
    std::string narrow(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), size, narrow.data(), n, fallback, nullptr);
    return narrow;
}

} // namespace

std::wstring Utf16(const std::string& utf8) {
    return WideOf(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
}

std::string Utf8(const std::wstring& utf16) {
    return NarrowOf(utf16, CP_UTF8);
}

std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(Utf16(utf8));
}

std::FILE* OpenFile(const std::string& utf8, const char* mode) {
    const std::wstring name = Utf16(utf8);
    if (name.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    return ::_wfopen(name.c_str(), Utf16(mode).c_str());
}

bool SyncFile(std::FILE* f) {
    if (std::fflush(f) != 0)
        return false;
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(f)));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
        errno = EIO;
        return false;
    }
    return true;
}

namespace {

// errno for the last Win32 error, so callers report it as they do on POSIX.
int ErrnoOfLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return EEXIST;
    default:
        return EIO;
    }
}

} // namespace

bool MoveOver(const std::string& temp, const std::string& target) {
    const std::wstring from = Utf16(temp), to = Utf16(target);
    // ReplaceFileW keeps the target's attributes and security; it needs an existing target.
    if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES &&
        ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr))
        return true;
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = ErrnoOfLastError();
    return false;
}

bool RemoveFile(const std::string& utf8) {
    return DeleteFileW(Utf16(utf8).c_str()) != 0;
}

bool IsWritableFolder(const std::string& utf8) {
    // Access rights on Windows are ACLs that _waccess does not read; a probe file answers.
    static std::atomic<unsigned> counter{0};
    const std::wstring probe = Utf16(utf8 + "\\.qm-probe-" + std::to_string(ProcessId()) + "-" +
                                     std::to_string(counter++));
    const HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

DeviceAccess ProbeDevice(const std::string&) {
    return {};
}

long ProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    localtime_s(&local, &when);
    return local;
}

std::string ExecutableFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return ".";
        if (n < buffer.size()) {
            std::string path = Utf8(std::wstring(buffer.data(), n));
            const std::size_t sep = path.find_last_of("\\/");
            return sep == std::string::npos ? "." : path.substr(0, sep);
        }
        buffer.resize(buffer.size() * 2);
    }
}

namespace {

std::string EnvironmentFolder(const wchar_t* variable) {
    const wchar_t* value = ::_wgetenv(variable);
    if (value && *value)
        return Utf8(value);
    return ExecutableFolder();
}

} // namespace

std::string UserConfigBase() {
    return EnvironmentFolder(L"APPDATA");
}

std::string UserCacheBase() {
    return EnvironmentFolder(L"LOCALAPPDATA");
}

std::string UserLocale() {
    return LocaleOfLanguageId(GetUserDefaultUILanguage());
}

std::string CodePageToUtf8(std::string_view text, unsigned codePage) {
    return NarrowOf(WideOf(text, codePage), CP_UTF8);
}

std::string Utf8ToCodePage(std::string_view text, unsigned codePage) {
    return NarrowOf(WideOf(text, CP_UTF8), codePage);
}

bool IsTerminal(std::FILE* stream) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

namespace {

std::atomic<void (*)()> g_onInterrupt{nullptr};

// Runs on a thread of its own. TRUE: handled, the program goes on; FALSE: the default, which
// ends the program.
BOOL WINAPI CallOnInterrupt(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    void (*call)() = g_onInterrupt.exchange(nullptr);
    if (!call)
        return FALSE; // the second Ctrl-C
    call();
    return TRUE;
}

} // namespace

InterruptHandler::InterruptHandler(void (*onInterrupt)()) {
    g_onInterrupt.store(onInterrupt);
    SetConsoleCtrlHandler(CallOnInterrupt, TRUE);
}

InterruptHandler::~InterruptHandler() {
    SetConsoleCtrlHandler(CallOnInterrupt, FALSE);
    g_onInterrupt.store(nullptr);
}

} // namespace qm
