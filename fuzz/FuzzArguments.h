#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm::fuzz {

// A command line from fuzz input: arguments separated by NUL bytes, at most `most` of them.
// An argument of byte 1 and one more byte stands for words[that byte % count]; in the others
// every `replaced` character becomes '_'.
inline std::vector<std::string> SplitArguments(const std::uint8_t* data, std::size_t size,
                                               std::span<const char* const> words, std::size_t most,
                                               char replaced = '\0') {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i <= size && args.size() < most; ++i) {
        if (i < size && data[i] != 0) {
            current += static_cast<char>(data[i]);
            continue;
        }
        if (current.size() == 2 && current[0] == '\x01') {
            current = words[static_cast<unsigned char>(current[1]) % words.size()];
        } else if (replaced != '\0') {
            for (char& c : current)
                c = c == replaced ? '_' : c;
        }
        args.push_back(current);
        current.clear();
    }
    return args;
}

} // namespace qm::fuzz
