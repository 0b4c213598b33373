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

// Reads until want bytes are in buffer or the wait ends; *got tells how many bytes came. More
// than want bytes are never taken. None when the wait ended with or without the bytes.
LinkFailure Collect(cnComm& port, std::uint8_t* buffer, std::size_t want, std::size_t* got,
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
            if (r.status == cnComm::ReadStatus::LineError)
                return LinkFailure::LineError;
            if (r.status != cnComm::ReadStatus::Empty)
                return LinkFailure::HungUp;
            break;
        }
        if (*got >= want)
            return LinkFailure::None;
        if (port.StopRequested())
            return LinkFailure::Cancelled;
        const int wait = io.MsUntil(deadline);
        if (wait == 0)
            return LinkFailure::None;
        // While a reply is coming in, the rest needs its time on the line: sleeping through it
        // costs nothing and saves a wake-up for every few bytes. A meter that has stalled is
        // waited for on the descriptor instead.
        if (fresh) {
            idleWakeups = 0;
            const std::int64_t rest = std::min<std::int64_t>(LineTimeMs(port, want - *got), wait);
            if (rest >= 2) {
                io.SleepMs(port.Timings().WaitSlice(static_cast<int>(rest)));
                continue;
            }
        }
        switch (port.WaitReadable(port.Timings().WaitSlice(wait))) {
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
            return LinkFailure::HungUp;
        }
    }
}

// Records why the exchange of code failed; false, for the caller to return.
bool Fail(cnComm& port, LinkFailure reason, std::uint8_t code, std::size_t got,
          std::size_t wanted) {
    port.SetLastError({reason, code, got, wanted});
    return false;
}

// Sends the frame whole, or records why not.
bool SendWhole(cnComm& port, std::span<const std::uint8_t> frame, std::uint8_t code) {
    if (port.StopRequested())
        return Fail(port, LinkFailure::Cancelled, code, 0, frame.size());
    const std::size_t sent = port.Write(frame.data(), frame.size());
    if (sent == frame.size())
        return true;
    return Fail(port, port.StopRequested() ? LinkFailure::Cancelled : LinkFailure::ShortWrite, code,
                sent, frame.size());
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
    const std::uint8_t code = block.size() >= 2 ? block[1] : 0;
    if (!port.IsOpen())
        return Fail(port, LinkFailure::NotOpen, code, 0, 0);
    const std::vector<std::uint8_t> frame = BuildFrame(block);
    if (frame.empty())
        return false;
    return SendWhole(port, frame, code);
}

bool Exchange(cnComm& port, std::span<const std::uint8_t> block, std::span<std::uint8_t> reply) {
    const std::uint8_t code = block.size() >= 2 ? block[1] : 0;
    if (!port.IsOpen())
        return Fail(port, LinkFailure::NotOpen, code, 0, reply.size());
    if (reply.empty())
        return false;
    if (!SendFrame(port, block))
        return false;
    SerialIo& io = port.Io();
    const std::int64_t deadline = io.NowMs() + port.Timings().replyLimitMs;
    std::size_t got = 0;
    const LinkFailure failure = Collect(port, reply.data(), reply.size(), &got, deadline);
    port.Trace(cnComm::Direction::Received, reply.first(got));
    if (failure != LinkFailure::None)
        return Fail(port, failure, code, got, reply.size());
    if (got < reply.size())
        return Fail(port, LinkFailure::TimedOut, code, got, reply.size());
    // A byte beyond the reply's length means this was not the reply (a stray byte before it,
    // or an answer to something else); no need to wait for the time limit to say so.
    const long more = port.QueueLength();
    if (more != 0)
        return Fail(port, LinkFailure::ReplyTooLong, code,
                    got + static_cast<std::size_t>(more > 0 ? more : 0), reply.size());
    if (!ReplyCheckAccepted(reply))
        return Fail(port, LinkFailure::BadCheck, code, got, reply.size());
    return true;
}

bool Handshake(cnComm& port) {
    constexpr std::uint8_t kCode = kHandshakeFrame[4];
    if (!port.IsOpen())
        return Fail(port, LinkFailure::NotOpen, kCode, 0, sizeof kHandshakeFrame);
    if (!SendWhole(port, kHandshakeFrame, kCode))
        return false;
    std::uint8_t echo[sizeof kHandshakeFrame] = {};
    std::size_t got = 0;
    const std::int64_t deadline = port.Io().NowMs() + port.Timings().handshakeWaitMs;
    const LinkFailure failure = Collect(port, echo, sizeof echo, &got, deadline);
    port.Trace(cnComm::Direction::Received, std::span<const std::uint8_t>(echo, got));
    if (got == sizeof echo && std::memcmp(echo, kHandshakeFrame, sizeof echo) == 0)
        return true;
    // Bytes after the sixth are not looked at, so only a short or different echo fails.
    if (failure == LinkFailure::Cancelled)
        return Fail(port, failure, kCode, got, sizeof echo);
    const LinkFailure reason =
        got < sizeof echo ? (failure != LinkFailure::None ? failure : LinkFailure::TimedOut)
                          : LinkFailure::BadEcho;
    return Fail(port, reason, kCode, got, sizeof echo);
}

} // namespace qm
