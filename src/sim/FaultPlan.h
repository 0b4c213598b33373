#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::sim {

// Faults injected on chosen requests, for tests: "KIND=K" acts on request K (every frame
// received counts, from 1); "KIND=K:CODE" on the K-th request with command code CODE (hex).
class FaultPlan {
public:
    enum class Kind {
        None,
        BadCheck,  // the reply's check byte is wrong
        NoReply,   // the request is ignored
        StrayByte, // one extra byte goes out before the reply
        Short,     // the reply lacks its last byte
        Hangup,    // the line drops: the simulator closes its terminal and ends
    };

    // Adds one "KIND=K[:CODE]" spec; false when it cannot be read.
    bool Add(const std::string& spec);

    // Counts the request and tells which fault, if any, applies to it.
    Kind Next(std::uint8_t code);

private:
    struct Fault {
        Kind kind;
        long at;
        int code; // -1: any request
    };
    std::vector<Fault> m_faults;
    long m_count = 0;
    long m_byCode[256] = {};
};

} // namespace qm::sim
