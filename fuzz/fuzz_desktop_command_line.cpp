// Command lines through the desktop program's parser. The input is the arguments, separated
// by NUL bytes; an argument of byte 1 and one more byte stands for one of the words the
// parser knows. What it accepts names what it was given: the file it opens, the settings file
// and the language are arguments of the line, and what it passes on to Qt are the other
// arguments, in their order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FuzzArguments.h"
#include "app/DesktopCommandLine.h"

namespace {

const std::vector<std::string> kWords =
    qm::fuzz::Words("--version|-v|--help|-h|--settings|--lang|en|zh|--|-platform|--style|"
                    "-qwindowgeometry|site.f71|A.F71CH|.f71|offscreen|-");

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() > tail.size() &&
           std::equal(tail.begin(), tail.end(), text.end() - static_cast<long>(tail.size()),
                      [](char a, char b) {
                          return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
                      });
}

// True when `part` is `whole` with some elements left out.
bool Subsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    auto at = whole.begin();
    for (const std::string& p : part) {
        at = std::find(at, whole.end(), p);
        if (at == whole.end())
            return false;
        ++at;
    }
    return true;
}

bool Given(const std::vector<std::string>& args, const std::string& value) {
    return std::find(args.begin(), args.end(), value) != args.end();
}

// True when value follows option somewhere on the line.
bool After(const std::vector<std::string>& args, const std::string& option,
           const std::string& value) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == option && args[i + 1] == value)
            return true;
    return false;
}

// The argument after the last `option` before "--", if there is one.
const std::string* ValueOf(const std::vector<std::string>& args, const std::string& option) {
    const std::string* value = nullptr;
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] == option && i + 1 < args.size())
            value = &args[++i];
        else if (args[i] == "--settings" || args[i] == "--lang")
            ++i;
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> args = qm::fuzz::SplitArguments(data, size, kWords, 16);
    const qm::DesktopCommandLine line = qm::ParseDesktopCommandLine(args);
    if (!line.error.empty())
        return 0;
    if (!line.projectFile.empty() && !line.planFile.empty())
        __builtin_trap(); // two files to open
    if (!line.projectFile.empty() &&
        (!Given(args, line.projectFile) || !EndsWithNoCase(line.projectFile, ".f71")))
        __builtin_trap();
    if (!line.planFile.empty() &&
        (!Given(args, line.planFile) || !EndsWithNoCase(line.planFile, ".f71ch")))
        __builtin_trap();
    // A settings file or language asked for is the one used, and an empty name is no file.
    // (Qt's options may take the next argument as their value, so the exact account holds
    // when nothing is passed on.)
    for (const auto& [option, taken] :
         {std::pair{"--settings", &line.settingsFile}, std::pair{"--lang", &line.language}}) {
        if (!taken->empty() && !After(args, option, *taken))
            __builtin_trap();
        const std::string* asked = ValueOf(args, option);
        if (line.passOn.empty() && (asked ? asked->empty() || *taken != *asked : !taken->empty()))
            __builtin_trap();
    }
    if (!Subsequence(line.passOn, args))
        __builtin_trap();
    return 0;
}
