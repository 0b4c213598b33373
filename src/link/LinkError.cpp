#include "link/LinkError.h"

#include <cstdio>
#include <string>

#include "res/StringTable.h"

namespace qm {

namespace {

std::string ReasonText(LinkFailure reason) {
    switch (reason) {
    case LinkFailure::None:
        return "";
    case LinkFailure::NotOpen:
        return Tr(txt::kLinkNotOpen);
    case LinkFailure::ShortWrite:
        return Tr(txt::kLinkShortWrite);
    case LinkFailure::TimedOut:
        return Tr(txt::kLinkTimedOut);
    case LinkFailure::HungUp:
        return Tr(txt::kLinkHungUp);
    case LinkFailure::LineError:
        return Tr(txt::kLinkLineError);
    case LinkFailure::ReplyTooLong:
        return Tr(txt::kLinkReplyTooLong);
    case LinkFailure::BadCheck:
        return Tr(txt::kLinkBadCheck);
    case LinkFailure::BadEcho:
        return Tr(txt::kLinkBadEcho);
    case LinkFailure::Cancelled:
        return Tr(txt::kCancelled);
    }
    return "";
}

} // namespace

std::string LinkErrorText(const LinkError& error) {
    if (!error)
        return {};
    if (error.reason == LinkFailure::NotOpen || error.reason == LinkFailure::Cancelled)
        return ReasonText(error.reason);
    char code[8];
    std::snprintf(code, sizeof code, "%02X", error.code);
    return ReasonText(error.reason) +
           TrFill(txt::kLinkWhere, {code, std::to_string(error.got), std::to_string(error.wanted)});
}

} // namespace qm
