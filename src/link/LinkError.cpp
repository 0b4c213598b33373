#include "link/LinkError.h"

#include <cstdio>

namespace qm {

namespace {

const char* ReasonText(LinkFailure reason) {
    switch (reason) {
    case LinkFailure::None:
        return "";
    case LinkFailure::NotOpen:
        return "the port is not open";
    case LinkFailure::ShortWrite:
        return "the request could not be sent whole";
    case LinkFailure::TimedOut:
        return "no complete reply in time";
    case LinkFailure::HungUp:
        return "the line hung up";
    case LinkFailure::LineError:
        return "the line reported errors";
    case LinkFailure::ReplyTooLong:
        return "more bytes came than the reply holds";
    case LinkFailure::BadCheck:
        return "the reply's check byte is wrong";
    case LinkFailure::BadEcho:
        return "the handshake echo is wrong";
    case LinkFailure::Cancelled:
        return "cancelled";
    }
    return "";
}

} // namespace

std::string LinkErrorText(const LinkError& error) {
    if (!error)
        return {};
    if (error.reason == LinkFailure::NotOpen || error.reason == LinkFailure::Cancelled)
        return ReasonText(error.reason);
    char where[64];
    std::snprintf(where, sizeof where, " (command %02X, %zu of %zu bytes)", error.code, error.got,
                  error.wanted);
    return std::string(ReasonText(error.reason)) + where;
}

} // namespace qm
