#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qm::test {

using Bytes = std::vector<std::uint8_t>;

// A reply frame of length total: 55 AA 01, the low byte of total, code, data, zero padding,
// check byte (the two's complement of the sum, or the plain sum when plainSum is set).
Bytes ReplyFrame(std::uint8_t code, const Bytes& data, std::size_t total, bool plainSum = false);

// A scripted meter on the master side of a pseudo-terminal pair: each request frame it reads
// is recorded and handed to the script, whose bytes are written back (nothing when empty).
// The port under test opens SlavePath().
class PtyPeer {
public:
    // What to do with request number index (0-based).
    using Script = std::function<Bytes(const Bytes& request, int index)>;

    explicit PtyPeer(Script script);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    std::vector<Bytes> Requests() const;
    // Closes the master: the line hangs up for the port.
    void HangUp();

private:
    void Run();

    int m_master = -1;
    std::string m_slavePath;
    Script m_script;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<Bytes> m_requests;
    std::thread m_thread;
};

} // namespace qm::test
