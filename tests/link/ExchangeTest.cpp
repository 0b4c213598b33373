#include <gtest/gtest.h>

#include <cstdlib>

#include "link/FakeSerialIo.h"
#include "link/FrameProtocol.h"
#include "link/MeterCommands.h"
#include "link/PortAddress.h"
#include "link/cnComm.h"
#include "support/PtyPeer.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::Bytes;
using test::FakeSerialIo;
using test::PtyPeer;
using test::ReplyFrame;

const Bytes kCountReply = ReplyFrame(0x6A, {0x01, 0x02}, 8);

class FakeExchange : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(port.OpenDevice("/dev/x", 115200)); }

    bool Run() {
        start = io.now;
        reply.assign(8, 0);
        return Exchange(port, CommandBlock(kCmdFileCount), reply);
    }

    FakeSerialIo io;
    cnComm port{io};
    Bytes reply;
    std::int64_t start = 0;
};

TEST_F(FakeExchange, ReplyInPiecesIsAssembled) {
    io.input = {0xEE}; // stale, from an earlier exchange
    io.arrivals = {Bytes(kCountReply.begin(), kCountReply.begin() + 3),
                   Bytes(kCountReply.begin() + 3, kCountReply.end())};
    io.readSteps = {{-1, EAGAIN}, {-1, EINTR}};
    io.interruptedPolls = 2;
    EXPECT_TRUE(Run());
    EXPECT_EQ(reply, kCountReply);
    EXPECT_EQ(Bytes(io.written), (Bytes{0x55, 0xAA, 0x01, 0x06, 0x6A, 0x90}));
}

TEST_F(FakeExchange, ShortReplyFailsAtTheTimeLimitWithoutSleeping) {
    io.arrivals = {Bytes(kCountReply.begin(), kCountReply.end() - 1)};
    EXPECT_FALSE(Run());
    EXPECT_GE(io.now - start, 10000);
    EXPECT_LT(io.now - start, 10100);
    // Silence: the same limit, reached by a handful of waits rather than a busy loop.
    io.polls = 0;
    EXPECT_FALSE(Run());
    EXPECT_GE(io.now - start, 10000);
    EXPECT_LE(io.polls, 3);
}

TEST_F(FakeExchange, ShortenedLimit) {
    port.Timings().replyLimitMs = 50;
    EXPECT_FALSE(Run());
    EXPECT_GE(io.now - start, 50);
    EXPECT_LT(io.now - start, 100);
}

TEST_F(FakeExchange, ReplyGrownPastItsLengthFailsAtOnce) {
    // A stray byte before the reply, then a byte trailing it.
    Bytes stray{0x00};
    stray.insert(stray.end(), kCountReply.begin(), kCountReply.end());
    io.arrivals = {stray};
    EXPECT_FALSE(Run());
    EXPECT_EQ(io.now, start);
    EXPECT_EQ(port.LastError().reason, LinkFailure::ReplyTooLong);
    EXPECT_EQ(port.LastError().got, 9u);
    EXPECT_EQ(port.LastError().wanted, 8u);
    Bytes trailing = kCountReply;
    trailing.push_back(0x33);
    io.arrivals = {trailing};
    EXPECT_FALSE(Run());
    EXPECT_EQ(io.now, start);
}

TEST_F(FakeExchange, HangUpAndLineErrorsFailAtOnce) {
    io.arrivals = {Bytes(kCountReply.begin(), kCountReply.begin() + 4)};
    io.hungUp = true;
    EXPECT_FALSE(Run());
    EXPECT_EQ(io.now, start);
    EXPECT_EQ(port.LastError().reason, LinkFailure::HungUp);
    io.hungUp = false;
    io.arrivals = {Bytes(kCountReply.begin(), kCountReply.begin() + 4)};
    io.garbledArrivals = true;
    EXPECT_FALSE(Run());
    EXPECT_EQ(io.now, start);
    EXPECT_EQ(port.LastError().reason, LinkFailure::LineError);
}

TEST_F(FakeExchange, WriteThatDoesNotGoOutFailsWithoutWaitingForAReply) {
    io.driverFull = true;
    io.writeSteps = {{2}, {-1, EAGAIN}, {-1, EAGAIN}};
    EXPECT_FALSE(Run());
    EXPECT_LT(io.now - start, 1000);
    EXPECT_EQ(LinkErrorText(port.LastError()),
              "the request could not be sent whole (command 6A, 2 of 6 bytes)");
}

TEST_F(FakeExchange, EachFailureLeavesItsReasonAndOpeningClearsIt) {
    io.arrivals = {Bytes(kCountReply.begin(), kCountReply.end() - 1)};
    EXPECT_FALSE(Run());
    EXPECT_EQ(LinkErrorText(port.LastError()),
              "no complete reply in time (command 6A, 7 of 8 bytes)");
    Bytes bad = kCountReply;
    ++bad.back();
    io.arrivals = {bad};
    EXPECT_FALSE(Run());
    EXPECT_EQ(port.LastError().reason, LinkFailure::BadCheck);
    // A success keeps the last failure's reason.
    io.arrivals = {kCountReply};
    EXPECT_TRUE(Run());
    EXPECT_EQ(port.LastError().reason, LinkFailure::BadCheck);

    Bytes echo(std::begin(kHandshakeFrame), std::end(kHandshakeFrame));
    echo[4] = 0x2C;
    io.arrivals = {echo};
    EXPECT_FALSE(Handshake(port));
    EXPECT_EQ(port.LastError().reason, LinkFailure::BadEcho);
    EXPECT_EQ(port.LastError().code, 0x2B);
    EXPECT_FALSE(Handshake(port));
    EXPECT_EQ(port.LastError().reason, LinkFailure::TimedOut);

    ASSERT_TRUE(port.OpenDevice("/dev/x", 115200));
    EXPECT_FALSE(port.LastError());
    port.Close();
    EXPECT_FALSE(Run());
    EXPECT_EQ(LinkErrorText(port.LastError()), "the port is not open");
}

TEST_F(FakeExchange, TheTraceSeesEachFrameBothWays) {
    std::vector<std::pair<cnComm::Direction, Bytes>> seen;
    port.SetTrace([&](cnComm::Direction d, std::span<const std::uint8_t> bytes) {
        seen.emplace_back(d, Bytes(bytes.begin(), bytes.end()));
    });
    io.arrivals = {Bytes(kCountReply.begin(), kCountReply.begin() + 3)};
    EXPECT_FALSE(Run());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, cnComm::Direction::Sent);
    EXPECT_EQ(seen[0].second, (Bytes{0x55, 0xAA, 0x01, 0x06, 0x6A, 0x90}));
    EXPECT_EQ(seen[1].first, cnComm::Direction::Received);
    EXPECT_EQ(seen[1].second, Bytes(kCountReply.begin(), kCountReply.begin() + 3));
}

// A meter that has gone silent: a stop from elsewhere ends the wait at the next look, long
// before the reply's time limit, and every later exchange ends before sending anything.
TEST(StopRequest, EndsASilentWaitAtTheNextLookAndSendsNothingMore) {
    struct StoppingIo : FakeSerialIo {
        cnComm* port = nullptr;
        int Poll(int fd, short events, int timeoutMs, short* revents) override {
            if (!(events & POLLOUT) && polls == 3)
                port->RequestStop();
            return FakeSerialIo::Poll(fd, events, timeoutMs, revents);
        }
    } io;
    cnComm port(io);
    io.port = &port;
    port.Timings().stopCheckMs = 20;
    ASSERT_TRUE(port.OpenDevice("/dev/x", 115200));
    Bytes reply(8);
    const std::int64_t start = io.now;
    EXPECT_FALSE(Exchange(port, CommandBlock(kCmdFileCount), reply));
    EXPECT_LT(io.now - start, 5 * 20) << "a few looks, not the 10 s limit";
    EXPECT_EQ(port.LastError().reason, LinkFailure::Cancelled);
    const std::size_t written = io.written.size();
    EXPECT_FALSE(Exchange(port, CommandBlock(kCmdFileCount), reply));
    EXPECT_FALSE(Handshake(port));
    EXPECT_EQ(io.written.size(), written);
    port.ClearStop();
    io.arrivals = {kCountReply};
    EXPECT_TRUE(Exchange(port, CommandBlock(kCmdFileCount), reply));
}

TEST(PtyExchange, BothCheckFormsAcceptedAndAWrongOneRejected) {
    PtyPeer peer([](const Bytes&, int index) {
        switch (index) {
        case 0:
            return ReplyFrame(0x6A, {0x01, 0x02}, 8, false);
        case 1:
            return ReplyFrame(0x6A, {0x00, 0x07}, 8, true);
        default: {
            Bytes bad = ReplyFrame(0x6A, {0x00, 0x07}, 8);
            bad.back() ^= 0x01;
            return bad;
        }
        }
    });
    cnComm port;
    ASSERT_TRUE(port.OpenDevice(peer.SlavePath(), 115200));
    EXPECT_EQ(ReadFileCount(port), 258);
    EXPECT_EQ(ReadFileCount(port), 7);
    EXPECT_EQ(ReadFileCount(port), -1);
    ASSERT_EQ(peer.Requests().size(), 3u);
    EXPECT_EQ(peer.Requests()[0], (Bytes{0x55, 0xAA, 0x01, 0x06, 0x6A, 0x90}));
}

TEST(PtyExchange, StrayByteShortReplyAndHangUp) {
    PtyPeer peer([](const Bytes&, int index) {
        Bytes reply = ReplyFrame(0x6A, {0x01, 0x02}, 8);
        if (index == 0)
            reply.insert(reply.begin(), 0x00);
        if (index == 1)
            reply.pop_back();
        return reply;
    });
    cnComm port;
    port.Timings().replyLimitMs = 200;
    ASSERT_TRUE(port.OpenDevice(peer.SlavePath(), 115200));
    EXPECT_EQ(ReadFileCount(port), -1);
    EXPECT_EQ(ReadFileCount(port), -1);
    // The earlier bytes are gone: the next exchange sees only its own reply.
    EXPECT_EQ(ReadFileCount(port), 258);
    peer.HangUp();
    port.Timings().replyLimitMs = 10000;
    EXPECT_EQ(ReadFileCount(port), -1);
}

TEST(PtyExchange, HandshakeComparesOnlyTheFirstSixBytes) {
    PtyPeer peer([](const Bytes& request, int index) {
        Bytes echo = request;
        if (index == 0)
            echo.push_back(0x11);
        if (index == 1)
            echo[4] = 0x2C;
        if (index == 2)
            echo.pop_back();
        return echo;
    });
    cnComm port;
    ASSERT_TRUE(port.OpenDevice(peer.SlavePath(), 115200));
    EXPECT_TRUE(Handshake(port));
    EXPECT_FALSE(Handshake(port));
    EXPECT_FALSE(Handshake(port));
    EXPECT_TRUE(Handshake(port));
    EXPECT_EQ(peer.Requests()[0], (Bytes{0x55, 0xAA, 0x01, 0x06, 0x2B, 0xCF}));
}

} // namespace
} // namespace qm
