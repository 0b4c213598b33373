// Running the programs under test on Windows: the program's .exe, its outputs read through
// pipes on threads of their own so that neither can fill up and stall it.
#include <stdexcept>
#include <thread>

#include <windows.h>

#include "base/Platform.h"
#include "support/TestSupport.h"

namespace qm::test {

namespace {

// One argument as the C runtime splits a command line: quoted, with the backslashes before a
// quote doubled.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

void ReadAll(HANDLE pipe, std::string* into) {
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0)
        into->append(buffer, n);
    CloseHandle(pipe);
}

} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv) {
    const std::wstring exe = Utf16(program.ends_with(".exe") ? program : program + ".exe");
    std::wstring line = Quoted(exe);
    for (const std::string& arg : args)
        line += L" " + Quoted(Utf16(arg));

    // No test that runs on Windows sets variables for the child; a block with a name twice
    // would not say which one holds.
    if (!extraEnv.empty())
        throw std::logic_error("RunProcess: extra environment variables are POSIX only");

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) ||
        !CreatePipe(&errRead, &errWrite, &inherit, 0))
        throw std::runtime_error("CreatePipe failed");
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    CloseHandle(nul);
    ProcessResult result;
    std::thread out(ReadAll, outRead, &result.out);
    std::thread err(ReadAll, errRead, &result.err);
    out.join();
    err.join();
    if (!started) {
        result.err = "cannot start " + program;
        return result;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

} // namespace qm::test
