#pragma once

#include <string>

namespace qm {

// Where the chart engine's message boxes go: the desktop shows them, the command-line tool
// prints them, tests record them.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // A failure box (program title as caption, error icon).
    virtual void ShowError(const std::string& text) = 0;
};

} // namespace qm
