#pragma once

namespace qm {

// A message box the core asks the desktop program to show (the command-line tool prints it).
// The core never shows one itself; it hands back the string id and how to show it.
enum class MessageKind {
    Error,  // program title as caption, error icon
    Notice, // program title as caption, no icon
    Plain,  // plain box with an OK button, the application name "QM7100" as caption
};

struct UserMessage {
    int id = 0; // English string id (55xx); Tr(id) gives the text
    MessageKind kind = MessageKind::Error;

    bool operator==(const UserMessage&) const = default;
};

} // namespace qm
