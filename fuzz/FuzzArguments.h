#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::fuzz {

// The words of a vocabulary written with '|' between them.
inline std::vector<std::string> Words(std::string_view list) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at <= list.size();) {
        const std::size_t end = std::min(list.find('|', at), list.size());
        words.emplace_back(list.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// A command line from fuzz input: arguments separated by NUL bytes, at most `most` of them.
// An argument of byte 1 and one more byte stands for words[that byte % count]; in the others
// every `replaced` character becomes '_'.
inline std::vector<std::string> SplitArguments(const std::uint8_t* data, std::size_t size,
                                               const std::vector<std::string>& words,
                                               std::size_t most, char replaced = '\0') {
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
