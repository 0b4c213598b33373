// Which COM ports the connection dialog lists as present; built and run on Windows only.
#include <gtest/gtest.h>

#include <cstdlib>

#include "link/PortAddress.h"
#include "link/PortPresence.h"

namespace qm {
namespace {

TEST(PortPresenceWin32, ThePortsTheSystemKnowsArePresentAndNoOthers) {
    // scripts/test-windows.sh gives Wine a port on a device and names it here.
    const char* mapped = std::getenv("QM_TEST_PRESENT_PORT");
    if (!mapped)
        GTEST_SKIP() << "QM_TEST_PRESENT_PORT names no port that is known present";
    const struct {
        int number;
        bool present;
    } cases[] = {
        {std::atoi(mapped), true},
        {200, false}, // a number no system hands out unasked
        {0, false},
        {kHighestPort + 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortIsPresent(c.number), c.present) << "COM" << c.number;
}

} // namespace
} // namespace qm
