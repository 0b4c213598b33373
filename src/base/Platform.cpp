#include "base/Platform.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>

#include <iconv.h>
#include <signal.h>
#include <unistd.h>

namespace qm {

std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::FILE* OpenFile(const std::string& utf8, const char* mode) {
    return std::fopen(utf8.c_str(), mode);
}

bool SyncFile(std::FILE* f) {
    return std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
}

bool MoveOver(const std::string& temp, const std::string& target) {
    return std::rename(temp.c_str(), target.c_str()) == 0;
}

bool IsWritableFolder(const std::string& utf8) {
    return ::access(utf8.c_str(), W_OK | X_OK) == 0;
}

DeviceAccess ProbeDevice(const std::string& utf8) {
    DeviceAccess access;
    access.exists = ::access(utf8.c_str(), F_OK) == 0;
    if (access.exists && ::access(utf8.c_str(), R_OK | W_OK) != 0)
        access.error = errno;
    return access;
}

bool RemoveFile(const std::string& utf8) {
    return std::remove(utf8.c_str()) == 0;
}

long ProcessId() {
    return static_cast<long>(::getpid());
}

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}

std::string ExecutableFolder() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return ".";
    const std::string path(buf, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

// A folder named by variable when it holds an absolute path, else homeDefault under HOME.
std::string XdgFolder(const char* variable, const char* homeDefault) {
    const char* set = std::getenv(variable);
    if (set && set[0] == '/')
        return set;
    const char* home = std::getenv("HOME");
    return (home && home[0] == '/' ? std::string(home) : std::string("/tmp")) + "/" + homeDefault;
}

} // namespace

std::string UserConfigBase() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string UserCacheBase() {
    return XdgFolder("XDG_CACHE_HOME", ".cache");
}

std::string UserLocale() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value)
            return value;
    }
    return {};
}

namespace {

std::string Convert(std::string_view in, const char* to, const char* from) {
    const bool fromUtf8 = std::string_view(from) == "UTF-8";
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
            // A byte or character the other side cannot represent: one '?' for the whole
            // UTF-8 sequence, as Windows gives.
            std::size_t skip = 1;
            while (fromUtf8 && skip < std::min<std::size_t>(left, 4) &&
                   (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80)
                ++skip;
            out += '?';
            src += skip;
            left -= skip;
        }
    }
    ::iconv_close(cd);
    return out;
}

const char* IconvName(unsigned codePage) {
    return codePage == kCodePageGbk ? "GBK" : "WINDOWS-1252";
}

} // namespace

std::string CodePageToUtf8(std::string_view text, unsigned codePage) {
    return Convert(text, "UTF-8", IconvName(codePage));
}

std::string Utf8ToCodePage(std::string_view text, unsigned codePage) {
    return Convert(text, IconvName(codePage), "UTF-8");
}

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

namespace {

std::atomic<void (*)()> g_onInterrupt{nullptr};
struct sigaction g_previous {};

extern "C" void CallOnInterrupt(int) {
    if (void (*call)() = g_onInterrupt.load())
        call();
}

} // namespace

InterruptHandler::InterruptHandler(void (*onInterrupt)()) {
    g_onInterrupt.store(onInterrupt);
    struct sigaction action {};
    action.sa_handler = CallOnInterrupt;
    sigemptyset(&action.sa_mask);
    // A second Ctrl-C ends the program at once.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, &g_previous);
}

InterruptHandler::~InterruptHandler() {
    sigaction(SIGINT, &g_previous, nullptr);
    g_onInterrupt.store(nullptr);
}

} // namespace qm
