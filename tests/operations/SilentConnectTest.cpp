#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>

#include "app/Settings.h"
#include "link/FakeSerialIo.h"
#include "link/FrameProtocol.h"
#include "link/MeterCommands.h"
#include "link/PortAddress.h"
#include "link/cnComm.h"
#include "operations/SilentConnect.h"
#include "support/PtyPeer.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::Bytes;
using test::FakeSerialIo;
using test::PtyPeer;

TEST(SilentConnect, FromTheSettingsFile) {
    test::TempDir dir;
    const Settings settings(dir.File("setup.ini"));
    PtyPeer peer([](const Bytes& request, int) { return request; });
    cnComm port;

    // No "Port" key: not configured, fails before touching anything.
    EXPECT_FALSE(SilentConnect(port, settings));
    EXPECT_FALSE(port.IsOpen());

    ASSERT_TRUE(settings.SetPort(peer.SlavePath()));
    EXPECT_TRUE(SilentConnect(port, settings));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.PortName(), peer.SlavePath());
    EXPECT_EQ(peer.Requests().size(), 1u);

    // Every operation reconnects: the port is closed and opened again.
    EXPECT_TRUE(SilentConnect(port, settings));
    EXPECT_EQ(peer.Requests().size(), 2u);

    // While the port is ours, nobody else gets it.
    cnComm other;
    EXPECT_FALSE(other.OpenDevice(peer.SlavePath(), 115200));
    EXPECT_FALSE(other.OpenDevice(dir.File("no-such-device"), 115200));

    // Port 300 leaves the open port as it is.
    ASSERT_TRUE(settings.SetPort("300"));
    EXPECT_FALSE(SilentConnect(port, settings));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(peer.Requests().size(), 2u);
}

TEST(SilentConnect, OutOfRangePortsUseTheFirstAndAFailedHandshakeKeepsThePortOpen) {
    for (const char* text : {"0", "999"}) {
        FakeSerialIo io;
        cnComm port(io);
        EXPECT_FALSE(SilentConnect(port, text, "115200"));
        ASSERT_EQ(io.opened.size(), 1u);
        EXPECT_EQ(io.opened[0], PortDeviceName(1));
        EXPECT_TRUE(port.IsOpen());
        EXPECT_EQ(Bytes(io.written), Bytes(std::begin(kHandshakeFrame), std::end(kHandshakeFrame)));
    }
    FakeSerialIo io;
    cnComm port(io);
    io.arrivals = {Bytes(std::begin(kHandshakeFrame), std::end(kHandshakeFrame))};
    EXPECT_TRUE(SilentConnect(port, "COM3", "9600"));
    EXPECT_EQ(io.opened[0], PortDeviceName(3));
    // A baud rate that is not a number cannot be set.
    EXPECT_FALSE(SilentConnect(port, "2", "fast"));
    EXPECT_FALSE(port.IsOpen());
}

// Opt-in: QM_METER_PORT names the port a real meter is attached to (a path or a number).
TEST(RealMeter, AnswersTheHandshakeAndTellsItsModel) {
    const char* where = std::getenv("QM_METER_PORT");
    if (!where)
        GTEST_SKIP() << "set QM_METER_PORT to talk to a real meter";
    cnComm port;
    ASSERT_TRUE(SilentConnect(port, where, "115200"));
    EXPECT_NE(ReadModel(port), "Wrong");
    EXPECT_TRUE(Release(port));
}

} // namespace
} // namespace qm
