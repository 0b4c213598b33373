#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/UserMessage.h"
#include "res/StringTable.h"

namespace qm {

// What the meter operations (upload, connect, plan transfers, time and unit setup, screen
// capture) hand back. They run without any user interface: progress goes to a callback and
// the messages to show come back as string ids, in the order the desktop program shows them.

using OperationMessage = UserMessage;

struct OperationOutcome {
    bool ok = false;
    // Message boxes, in order; most operations show at most one.
    std::vector<OperationMessage> messages;
    // A plain English reason for the command-line tool (and the desktop's detail text): the
    // operation's own where it shows no message (a file that cannot be written: with the
    // system's reason), and why the link failed when it did.
    std::string detail;
    // Ended by a stop request (cnComm::RequestStop): no message boxes; the data read so far
    // is left as after a failed read.
    bool cancelled = false;

    // The last message's id, 0 when none.
    int MessageId() const { return messages.empty() ? 0 : messages.back().id; }
    void Show(int id, MessageKind kind) { messages.push_back({id, kind}); }
};

// Progress of an operation: position within 0 ... range. May be empty.
using ProgressFn = std::function<void(int position, int range)>;

inline void ReportProgress(const ProgressFn& progress, int position, int range) {
    if (progress)
        progress(position, range);
}

} // namespace qm
