#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/UserMessage.h"

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

// The English string ids the operations use.
namespace msg {
inline constexpr int kConnectionFailed = 5650;   // "Failed ! Please check the connection !"
inline constexpr int kPlanNull = 5651;           // "CH plan is null !"
inline constexpr int kPlanReadFailed = 5652;     // "Failed to read current CH!"
inline constexpr int kUploadPlanFirst = 5653;    // "Please upload CH plan first!"
inline constexpr int kPlanWritten = 5654;        // "DownLoad CH plan is successfully!"
inline constexpr int kPlanWriteFailed = 5655;    // "DownLoad CH plan is unsuccessfully!"
inline constexpr int kPlanActivateFailed = 5656; // "Failed to setup user CH plan!"
inline constexpr int kFileNotCreated = 5657;  // "Failed! The Open file dialog could not be opened!"
inline constexpr int kCheckConnection = 5671; // "Please check the connection !"
inline constexpr int kFileReadFailed =
    5672; // "Failed to read CH data,please check the connection !"
inline constexpr int kDataTransferred = 5689;   // "Data transfered successfully!"
inline constexpr int kLevelUnitFailed = 5695;   // "Failed to setup level unit!"
inline constexpr int kTemperatureFailed = 5696; // "Failed to setup temperature unit!"
inline constexpr int kShutdownFailed = 5697;    // "Failed to setup shutdown time!"
inline constexpr int kCurrentPlanFailed = 5698; // "Failed to read current CH name"
inline constexpr int kOpenPortFailed = 5699;    // "Failed to open com!"
} // namespace msg

} // namespace qm
