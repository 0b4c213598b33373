#include "link/FrameProtocol.h"

#include <algorithm>
#include <cstring>

#include "link/cnComm.h"

namespace qm {

namespace {

std::uint8_t ByteSum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    return static_cast<std::uint8_t>(sum);
}

// Milliseconds the line needs for count bytes of ten bits each.
std::int64_t LineTimeMs(const cnComm& port, std::size_t count) {
    if (port.Baud() == 0)
        return 0;
    return static_cast<std::int64_t>(count) * 10 * 1000 / port.Baud();
}

// Reads until want bytes are in buffer or the wait ends. Returns false when the line hung up
// or failed; *got tells how many bytes came. More than want bytes are never taken.
bool Collect(cnComm& port, std::uint8_t* buffer, std::size_t want, std::size_t* got,
             std::int64_t deadline) {
    SerialIo& io = port.Io();
    int idleWakeups = 0;
    for (;;) {
        bool fresh = false;
        while (*got < want) {
            const cnComm::ReadResult r = port.ReadSome(want - *got, buffer + *got);
            if (r.status == cnComm::ReadStatus::Data) {
                *got += r.count;
                fresh = true;
                continue;
            }
            if (r.status != cnComm::ReadStatus::Empty)
                return false;
            break;
        }
        if (*got >= want)
            return true;
        const int wait = io.MsUntil(deadline);
        if (wait == 0)
            return true;
        // While a reply is coming in, the rest needs its time on the line: sleeping through it
        // costs nothing and saves a wake-up for every few bytes. A meter that has stalled is
        // waited for on the descriptor instead.
        if (fresh) {
            idleWakeups = 0;
            const std::int64_t rest = std::min<std::int64_t>(LineTimeMs(port, want - *got), wait);
            if (rest >= 2) {
                io.SleepMs(static_cast<int>(rest));
                continue;
            }
        }
        switch (port.WaitReadable(wait)) {
        case cnComm::WaitStatus::Readable:
            // A wake-up with nothing to read should not turn the wait into a busy loop.
            if (++idleWakeups > 2)
                io.SleepMs(1);
            break;
        case cnComm::WaitStatus::TimedOut:
        case cnComm::WaitStatus::Interrupted:
            break;
        case cnComm::WaitStatus::HungUp:
        case cnComm::WaitStatus::Failed:
            return false;
        }
    }
}

} // namespace

std::vector<std::uint8_t> CommandBlock(std::uint8_t code,
                                       std::span<const std::uint8_t> parameters) {
    std::vector<std::uint8_t> block;
    block.reserve(2 + parameters.size());
    block.push_back(static_cast<std::uint8_t>(kFrameOverhead + parameters.size()));
    block.push_back(code);
    block.insert(block.end(), parameters.begin(), parameters.end());
    return block;
}

std::vector<std::uint8_t> CommandBlock(std::uint8_t code,
                                       std::initializer_list<std::uint8_t> parameters) {
    return CommandBlock(code, std::span<const std::uint8_t>(parameters.begin(), parameters.size()));
}

std::uint8_t FrameCheckByte(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint8_t>(0x100 - ByteSum(bytes));
}

std::vector<std::uint8_t> BuildFrame(std::span<const std::uint8_t> block) {
    if (block.size() < 2 || block.size() + kFrameHeaderSize + 1 > kMaxRequestSize ||
        block[0] != block.size() + kFrameHeaderSize + 1)
        return {};
    std::vector<std::uint8_t> frame;
    frame.reserve(block.size() + kFrameHeaderSize + 1);
    frame.push_back(kFrameHead0);
    frame.push_back(kFrameHead1);
    frame.push_back(kFrameHead2);
    frame.insert(frame.end(), block.begin(), block.end());
    frame.push_back(FrameCheckByte(frame));
    return frame;
}

bool ReplyCheckAccepted(std::span<const std::uint8_t> reply) {
    if (reply.empty())
        return false;
    const std::uint8_t sum = ByteSum(reply.first(reply.size() - 1));
    const std::uint8_t check = reply.back();
    return check == sum || check == static_cast<std::uint8_t>(0x100 - sum);
}

bool SendFrame(cnComm& port, std::span<const std::uint8_t> block) {
    if (!port.IsOpen())
        return false;
    const std::vector<std::uint8_t> frame = BuildFrame(block);
    if (frame.empty())
        return false;
    return port.Write(frame.data(), frame.size()) == frame.size();
}

bool Exchange(cnComm& port, std::span<const std::uint8_t> block, std::span<std::uint8_t> reply) {
    if (!port.IsOpen() || reply.empty())
        return false;
    if (!SendFrame(port, block))
        return false;
    SerialIo& io = port.Io();
    const std::int64_t deadline = io.NowMs() + port.Timings().replyLimitMs;
    std::size_t got = 0;
    if (!Collect(port, reply.data(), reply.size(), &got, deadline) || got < reply.size())
        return false;
    // A byte beyond the reply's length means this was not the reply (a stray byte before it,
    // or an answer to something else); no need to wait for the time limit to say so.
    if (port.QueueLength() != 0)
        return false;
    return ReplyCheckAccepted(reply);
}

bool Handshake(cnComm& port) {
    if (!port.IsOpen())
        return false;
    if (port.Write(kHandshakeFrame, sizeof kHandshakeFrame) != sizeof kHandshakeFrame)
        return false;
    std::uint8_t echo[sizeof kHandshakeFrame] = {};
    std::size_t got = 0;
    const std::int64_t deadline = port.Io().NowMs() + port.Timings().handshakeWaitMs;
    Collect(port, echo, sizeof echo, &got, deadline);
    return got == sizeof echo && std::memcmp(echo, kHandshakeFrame, sizeof echo) == 0;
}

} // namespace qm
