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
    io.hungUp = false;
    io.arrivals = {Bytes(kCountReply.begin(), kCountReply.begin() + 4)};
    io.garbledArrivals = true;
    EXPECT_FALSE(Run());
    EXPECT_EQ(io.now, start);
}

TEST_F(FakeExchange, WriteThatDoesNotGoOutFailsWithoutWaitingForAReply) {
    io.driverFull = true;
    io.writeSteps = {{2}, {-1, EAGAIN}, {-1, EAGAIN}};
    EXPECT_FALSE(Run());
    EXPECT_LT(io.now - start, 1000);
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
