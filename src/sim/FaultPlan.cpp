#include "sim/FaultPlan.h"

#include <cstdlib>

namespace qm::sim {

bool FaultPlan::Add(const std::string& spec) {
    const std::size_t eq = spec.find('=');
    if (eq == std::string::npos)
        return false;
    const std::string name = spec.substr(0, eq);
    Kind kind = Kind::None;
    if (name == "bad-check")
        kind = Kind::BadCheck;
    else if (name == "no-reply")
        kind = Kind::NoReply;
    else if (name == "stray-byte")
        kind = Kind::StrayByte;
    else if (name == "short")
        kind = Kind::Short;
    else if (name == "hangup")
        kind = Kind::Hangup;
    else
        return false;
    std::string rest = spec.substr(eq + 1);
    int code = -1;
    const std::size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        char* end = nullptr;
        const std::string codeText = rest.substr(colon + 1);
        const long value = std::strtol(codeText.c_str(), &end, 16);
        if (codeText.empty() || *end || value < 0 || value > 255)
            return false;
        code = static_cast<int>(value);
        rest.resize(colon);
    }
    char* end = nullptr;
    const long at = std::strtol(rest.c_str(), &end, 10);
    if (rest.empty() || *end || at < 1)
        return false;
    m_faults.push_back({kind, at, code});
    return true;
}

FaultPlan::Kind FaultPlan::Next(std::uint8_t code) {
    ++m_count;
    ++m_byCode[code];
    for (const Fault& f : m_faults) {
        if (f.code < 0 ? f.at == m_count : (f.code == code && f.at == m_byCode[code]))
            return f.kind;
    }
    return Kind::None;
}

} // namespace qm::sim
