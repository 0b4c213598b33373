#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qm {

// Why an exchange with the meter failed. The exchange functions keep their plain results;
// the port remembers the reason of the last failure for whoever wants to tell it.
enum class LinkFailure {
    None,
    NotOpen,      // no port is open
    ShortWrite,   // the driver would not take the whole request in time
    TimedOut,     // the reply was not complete within the time limit
    HungUp,       // the line hung up (or the port failed)
    LineError,    // the driver counted framing, parity or overrun errors
    ReplyTooLong, // more bytes came than the reply holds
    BadCheck,     // the reply's check byte is not accepted
    BadEcho,      // the handshake echo differs from the request
    Cancelled,    // a stop was requested
};

struct LinkError {
    LinkFailure reason = LinkFailure::None;
    std::uint8_t code = 0;  // command code of the request
    std::size_t got = 0;    // bytes received (written, for a short write)
    std::size_t wanted = 0; // bytes of the whole reply (request)

    explicit operator bool() const { return reason != LinkFailure::None; }
};

// One line of plain English, such as
// "no complete reply in time (command 6B, 12 of 72 bytes)"; empty for no failure.
std::string LinkErrorText(const LinkError& error);

} // namespace qm
