// The connection dialog's Connect, end to end against the simulator.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "channels/ChannelPlanList.h"
#include "link/cnComm.h"
#include "operations/ConnectOperation.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::SimProcess;

class Connect : public ::testing::Test {
protected:
    OperationOutcome Run(const std::string& portText) {
        steps.clear();
        return RunConnect(port, {portText, "115200"}, settings, plans,
                          [&](int position, int) { steps.push_back(position); });
    }

    test::TempDir dir;
    Settings settings{dir.File("setup.ini")};
    cnComm port;
    CChannelPlanList plans;
    std::vector<int> steps;
};

TEST_F(Connect, StoresTheChoiceAndEmptiesThePlanList) {
    SimProcess sim({"--log", dir.File("frames.log")});
    plans.Append(CommonChannel{});
    const OperationOutcome r = Run(sim.Path());
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_TRUE(port.IsOpen()) << "the port stays open for the next operation";
    EXPECT_EQ(settings.Port("1"), sim.Path());
    EXPECT_EQ(settings.Baud(), "115200");
    EXPECT_TRUE(plans.Empty());
    EXPECT_EQ(steps, (std::vector<int>{6, 30}));
    std::vector<int> codes;
    for (const std::string& f : test::LoggedFrames(dir.File("frames.log")))
        codes.push_back(test::LoggedCode(f));
    EXPECT_EQ(codes, (std::vector<int>{0x2B, 0x27, 0x50}))
        << "no release from the connection dialog";
}

TEST_F(Connect, PortThatCannotBeOpened) {
    settings.SetPort("2");
    // A text that names no port is refused before any device is tried, and says why.
    for (const char* choice : {"", "0", "COM257", "ttyUSB0", "12"}) {
        const OperationOutcome r = Run(choice);
        EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5699, MessageKind::Error}}))
            << choice;
        EXPECT_EQ(r.detail.find("ttyUSB11") != std::string::npos, choice == std::string("12"));
    }
    EXPECT_EQ(Run("COM257").detail, "Port numbers go from COM1 to COM256.");
    EXPECT_EQ(settings.Port("1"), "2");
}

TEST_F(Connect, NoHandshakeLeavesTheSettingsAlone) {
    SimProcess sim({"--fault", "no-reply=1"});
    settings.SetPort("4");
    settings.SetBaud("9600");
    plans.Append(CommonChannel{});
    const OperationOutcome r = Run(sim.Path());
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5671, MessageKind::Error}}));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(settings.Port("1"), "4");
    EXPECT_EQ(settings.Baud(), "9600");
    EXPECT_EQ(plans.Count(), 1u);
}

TEST_F(Connect, FailedPlanQueryKeepsPortAndSettings) {
    SimProcess sim({"--fault", "bad-check=1:27"});
    plans.Append(CommonChannel{});
    const OperationOutcome r = Run(sim.Path());
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5698, MessageKind::Error}}));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(settings.Port("1"), sim.Path());
    EXPECT_EQ(plans.Count(), 1u);
    EXPECT_EQ(steps, (std::vector<int>{6}));
}

} // namespace
} // namespace qm
