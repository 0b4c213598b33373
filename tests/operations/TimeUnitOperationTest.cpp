// The Time/Unit Download, end to end against the simulator.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>

#include "app/Settings.h"
#include "link/cnComm.h"
#include "operations/TimeUnitOperation.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::SimProcess;

class TimeUnit : public ::testing::Test {
protected:
    OperationOutcome Run(const SimProcess& sim, const TimeUnitChoice& choice) {
        return DownloadTimeUnit(port, ConnectTarget::Direct(sim.Path(), "115200"), choice,
                                settings);
    }
    std::vector<std::string> Frames() { return test::LoggedFrames(log); }

    test::TempDir dir;
    Settings settings{dir.File("setup.ini")};
    std::string log = dir.File("frames.log");
    cnComm port;
};

TEST_F(TimeUnit, DefaultsSentAndUnitsStored) {
    SimProcess sim({"--log", log});
    TimeUnitChoice choice; // what "Default" selects, with a fixed clock
    choice.levelUnit = "dBmV";
    choice.temperature = "F";
    choice.when = {2011, 8, 15, 12, 0, 0};
    const OperationOutcome r = Run(sim, choice);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5689, MessageKind::Notice}}));
    EXPECT_EQ(Frames(), (std::vector<std::string>{
                            "55 AA 01 06 2B CF",
                            "55 AA 01 07 16 01 E2",
                            "55 AA 01 07 18 01 E0",
                            "55 AA 01 07 1E 04 D7",
                            "55 AA 01 0D 1C 0C 00 00 0B 08 0F 02 A7",
                            "55 AA 01 06 09 F1",
                        }));
    EXPECT_EQ(settings.Ini().Read("General", "LevelUnit", ""), "dBmV");
    EXPECT_EQ(settings.Ini().Read("General", "TemperatureUnit", ""), "F");
}

TEST_F(TimeUnit, OpeningValuesComeFromTheSettings) {
    settings.SetLevelUnit("dBm");
    settings.SetTemperatureUnit("F");
    const TimeUnitChoice choice = DefaultTimeUnitChoice(settings);
    EXPECT_EQ(choice.levelUnit, "dBm");
    EXPECT_EQ(choice.temperature, "F");
    EXPECT_EQ(choice.shutdown, 4);
    EXPECT_EQ(choice.dateFormat, 2);
    SimProcess sim({"--log", log});
    EXPECT_TRUE(Run(sim, choice).ok);
    EXPECT_EQ(Frames().at(1), "55 AA 01 07 16 02 E1");
    EXPECT_EQ(settings.Ini().Read("General", "LevelUnit", ""), "dBm");
}

TEST_F(TimeUnit, DefaultClockIsTheLocalDateAndTime) {
    // In UTC the local date is the calendar date of the system clock, worked out here without
    // the C time functions the program uses.
    const char* zone = std::getenv("TZ");
    const std::string saved = zone ? zone : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const auto today = [] {
        const auto now = std::chrono::system_clock::now();
        const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(now)};
        return std::array{static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                          static_cast<int>(unsigned(date.day()))};
    };
    const auto before = today();
    const MeterDateTime when = DefaultTimeUnitChoice(settings).when;
    const auto after = today();
    if (zone)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    const std::array got{when.year, when.month, when.day};
    EXPECT_TRUE(got == before || got == after) << when.year << "-" << when.month << "-" << when.day;
    EXPECT_TRUE(when.hour >= 0 && when.hour < 24 && when.minute >= 0 && when.minute < 60);
}

TEST_F(TimeUnit, RejectedTemperatureUnitLeavesTheLevelUnitStored) {
    settings.SetLevelUnit("dBuV");
    settings.SetTemperatureUnit("C");
    SimProcess sim({"--log", log, "--fault", "bad-check=1:18"});
    TimeUnitChoice choice;
    choice.levelUnit = "dBmV";
    choice.temperature = "F";
    const OperationOutcome r = Run(sim, choice);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5696, MessageKind::Error}}));
    EXPECT_EQ(settings.Ini().Read("General", "LevelUnit", ""), "dBmV");
    EXPECT_EQ(settings.Ini().Read("General", "TemperatureUnit", ""), "C");
    EXPECT_EQ(Frames().size(), 3u) << "the Download ends there, without the release";
}

TEST_F(TimeUnit, EachRefusedStepHasItsMessage) {
    {
        SimProcess sim({"--fault", "bad-check=1:16"});
        settings.SetLevelUnit("dBuV");
        TimeUnitChoice choice;
        choice.levelUnit = "dBm";
        EXPECT_EQ(Run(sim, choice).MessageId(), 5695);
        EXPECT_EQ(settings.Ini().Read("General", "LevelUnit", ""), "dBuV");
    }
    {
        SimProcess sim({"--fault", "bad-check=1:1E"});
        EXPECT_EQ(Run(sim, TimeUnitChoice{}).MessageId(), 5697);
    }
    {
        // The clock's answer is not looked at.
        SimProcess sim({"--fault", "bad-check=1:1C"});
        EXPECT_TRUE(Run(sim, TimeUnitChoice{}).ok);
    }
    EXPECT_EQ(
        DownloadTimeUnit(port, ConnectTarget::Direct(dir.File("none"), "115200"), {}, settings)
            .MessageId(),
        5650);
}

TEST(TimeUnitTexts, Codes) {
    EXPECT_EQ(ShutdownCode("3"), 0);
    EXPECT_EQ(ShutdownCode("on"), 4);
    EXPECT_EQ(ShutdownCode("15"), -1);
    EXPECT_EQ(DateFormatCode("D/M/Y"), 1);
    EXPECT_EQ(DateFormatCode("Y-M-D"), -1);
    EXPECT_EQ(TemperatureCode("F"), 1);
    EXPECT_EQ(TemperatureCode("K"), -1);
}

} // namespace
} // namespace qm
