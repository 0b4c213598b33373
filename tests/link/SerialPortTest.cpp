#include <gtest/gtest.h>

#include <string>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "link/FakeSerialIo.h"
#include "link/FrameProtocol.h"
#include "link/cnComm.h"

namespace qm {
namespace {

using test::FakeSerialIo;
using Bytes = std::vector<std::uint8_t>;

TEST(SerialPort, PortNumbersOutsideTheRangeNeverTouchADevice) {
    FakeSerialIo io;
    cnComm port(io);
    EXPECT_FALSE(port.OpenPort(0, 115200));
    EXPECT_FALSE(port.OpenPort(1025, 115200));
    EXPECT_TRUE(io.opened.empty());
    EXPECT_TRUE(port.OpenPort(1024, 115200));
    EXPECT_EQ(io.opened.back(), "/dev/ttyUSB1023");
}

TEST(SerialPort, OpenAsksForLowLatencyAndToleratesARefusal) {
    FakeSerialIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("/dev/ttyUSB0", 115200));
    EXPECT_EQ(io.lowLatencyRequests, 1);
    io.refuseLowLatency = true; // a pseudo-terminal or a plain UART
    ASSERT_TRUE(port.OpenDevice("/dev/ttyUSB0", 115200));
    EXPECT_EQ(io.lowLatencyRequests, 2);
    EXPECT_TRUE(port.IsOpen());
    // The system's own request on a pseudo-terminal is refused, and the port opens all the same.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    const int fd = SerialIo::System().Open(slave.c_str());
    ASSERT_GE(fd, 0);
    EXPECT_LT(SerialIo::System().SetLowLatency(fd), 0);
    ::close(fd);
    cnComm real;
    EXPECT_TRUE(real.OpenDevice(slave, 115200));
    real.Close();
    ::close(master);
}

TEST(SerialPort, OpenSetsRawEightNOneAndRefusesWhatItCannotSet) {
    FakeSerialIo io;
    io.attributes.c_iflag = ICRNL | IXON;
    io.attributes.c_lflag = ICANON | ECHO;
    io.attributes.c_cflag = PARENB | CS7 | CRTSCTS;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("/dev/ttyUSB0", 9600));
    const termios& t = io.attributes;
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u); // hardware flow control stays as the driver had it
    EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));

    // A rate termios cannot name, a port another program holds, a driver that refuses the
    // settings: the port ends closed.
    EXPECT_FALSE(port.OpenDevice("/dev/ttyUSB0", 12345));
    EXPECT_FALSE(port.IsOpen());
    io.failLock = true;
    EXPECT_FALSE(port.OpenDevice("/dev/ttyUSB0", 9600));
    EXPECT_FALSE(port.IsOpen());
    io.failLock = false;
    io.failSetAttr = true;
    EXPECT_FALSE(port.OpenDevice("/dev/ttyUSB0", 9600));
    EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPort, ClosedPortDoesNothing) {
    FakeSerialIo io;
    cnComm port(io);
    std::uint8_t b[4];
    EXPECT_EQ(port.Write("abc", 3), 0u);
    EXPECT_EQ(port.ReadAvailable(4, b), 0u);
    EXPECT_EQ(port.QueueLength(), -1);
    port.Close();
    EXPECT_TRUE(io.flushes.empty());
    EXPECT_FALSE(Handshake(port));
    EXPECT_FALSE(SendFrame(port, CommandBlock(0x09)));
}

TEST(SerialPort, WriteClearsStaleInputAndSurvivesPartialAndInterruptedWrites) {
    FakeSerialIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("/dev/x", 115200));
    io.input = {1, 2, 3};
    io.writeSteps = {{2}, {-1, EINTR}, {-1, EAGAIN}, {1}, {0}, {10}};
    const Bytes frame{0x55, 0xAA, 0x01, 0x06, 0x6A, 0x90};
    EXPECT_EQ(port.Write(frame.data(), frame.size()), frame.size());
    EXPECT_EQ(io.written, frame);
    EXPECT_TRUE(io.input.empty());
    EXPECT_EQ(io.flushes.back(), TCIFLUSH);
}

TEST(SerialPort, WriteTheDriverWillNotTakeGivesUpAfterTheLimit) {
    FakeSerialIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("/dev/x", 115200));
    const std::int64_t start = io.now;
    io.driverFull = true;
    io.writeSteps = {{3}, {-1, EAGAIN}, {-1, EAGAIN}, {-1, EAGAIN}};
    EXPECT_EQ(port.Write("abcdef", 6), 3u);
    EXPECT_GE(io.now - start, port.Timings().writeLimitMs);
    // A hard error ends the write at once.
    io.writeSteps = {{-1, EIO}};
    EXPECT_EQ(port.Write("abcdef", 6), 0u);
}

TEST(SerialPort, LineErrorsDiscardTheInputOnce) {
    FakeSerialIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("/dev/x", 115200));
    std::uint8_t b[8];
    io.input = {1, 2, 3};
    io.counters.frame = 1;
    EXPECT_EQ(port.ReadAvailable(8, b), 0u);
    EXPECT_TRUE(io.input.empty());
    io.input = {4, 5};
    EXPECT_EQ(port.ReadAvailable(8, b), 2u);
    EXPECT_EQ(b[0], 4);

    // The queue query clears them too, and a write after errors also discards pending output.
    io.counters.overrun = 3;
    EXPECT_EQ(port.QueueLength(), 0);
    io.input = {6};
    EXPECT_EQ(port.ReadAvailable(8, b), 1u);
    io.counters.parity = 1;
    io.flushes.clear();
    port.Write("x", 1);
    EXPECT_EQ(io.flushes, (std::vector<int>{TCOFLUSH, TCIFLUSH}));

    // Devices without counters never report errors.
    FakeSerialIo plain;
    plain.countersKept = false;
    cnComm other(plain);
    ASSERT_TRUE(other.OpenDevice("/dev/x", 115200));
    plain.input = {9};
    EXPECT_EQ(other.ReadAvailable(8, b), 1u);
}

TEST(SerialPort, ReadRetriesInterruptedCallsAndReportsHangUp) {
    FakeSerialIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("/dev/x", 115200));
    std::uint8_t b[8];
    io.input = {1, 2, 3, 4};
    io.readSteps = {{-1, EINTR}};
    EXPECT_EQ(port.ReadAvailable(3, b), 3u);
    EXPECT_EQ(port.QueueLength(), 1);
    io.input.clear();
    io.hungUp = true;
    EXPECT_EQ(port.ReadSome(8, b).status, cnComm::ReadStatus::HungUp);
    io.hungUp = false;
    io.readSteps = {{-1, EIO}};
    EXPECT_EQ(port.ReadSome(8, b).status, cnComm::ReadStatus::HungUp);
}

} // namespace
} // namespace qm
