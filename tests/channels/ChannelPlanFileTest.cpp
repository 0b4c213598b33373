#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "ChannelTestPlans.h"
#include "channels/ChannelPlanFile.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

std::string Le32(std::int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

std::string Header(std::int32_t n, std::int32_t tag, std::int32_t kind) {
    return Le32(n) + Le32(tag) + Le32(kind);
}

std::string RecordBytes(const CommonChannel& r) {
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

TEST(ChannelPlanFile, Kind1FileOfFiveRecordsSavesByteIdentical) {
    test::TempDir dir;
    std::string bytes = Header(5, 200, 1);
    for (int i = 0; i < 5; ++i) {
        CommonChannel r = test::MakeChannel(1, {.eia = static_cast<std::uint8_t>(i + 21)});
        r.entry[24] = static_cast<std::uint8_t>(0xA0 + i); // bytes the program does not read
        r.entry[7] = 0x5A;
        bytes += RecordBytes(r);
    }
    test::WriteFile(dir.File("in.f71CH"), bytes);

    CChannelPlanList plan;
    ASSERT_EQ(OpenChannelPlan(dir.File("in.f71CH"), plan), PlanFileStatus::Ok);
    EXPECT_EQ(plan.Kind(), 1);
    ASSERT_EQ(plan.Count(), 5u);
    EXPECT_EQ(plan.At(4).Eia(1), 25);
    ASSERT_EQ(SaveChannelPlan(dir.File("out.f71CH"), plan), PlanFileStatus::Ok);
    EXPECT_EQ(test::ReadFile(dir.File("out.f71CH")), bytes);
}

TEST(ChannelPlanFile, RefusedFilesLeaveThePlanAsItWas) {
    test::TempDir dir;
    CChannelPlanList plan = test::MakeTvPlan(0, 6);
    const auto before = plan.Records();
    const std::string record = RecordBytes(test::MakeChannel(2, {}));

    struct Case {
        const char* name;
        std::string bytes;
        PlanFileStatus status;
    } cases[] = {
        {"tag199", Header(1, 199, 2) + record, PlanFileStatus::BadTag},
        {"negative", Header(-1, 200, 2) + record, PlanFileStatus::BadCount},
        {"huge", Header(0x7FFFFFFF, 200, 2) + record, PlanFileStatus::BadCount},
        {"above170", Header(171, 200, 2) + record, PlanFileStatus::BadCount},
        {"kind3", Header(1, 200, 3) + record, PlanFileStatus::UnknownKind},
        {"kindNegative", Header(1, 200, -1) + record, PlanFileStatus::UnknownKind},
        {"header", std::string("\x01\x00\x00\x00\xC8\x00", 6), PlanFileStatus::TooShort},
    };
    for (const Case& c : cases) {
        test::WriteFile(dir.File(c.name), c.bytes);
        EXPECT_EQ(OpenChannelPlan(dir.File(c.name), plan), c.status) << c.name;
        EXPECT_EQ(plan.Kind(), 0) << c.name;
        ASSERT_EQ(plan.Count(), before.size()) << c.name;
        EXPECT_EQ(std::memcmp(plan.Records().data(), before.data(), sizeof(CommonChannel) * 6), 0);
        EXPECT_FALSE(PlanFileStatusText(c.status, c.name).empty());
    }
    EXPECT_EQ(OpenChannelPlan(dir.File("missing"), plan), PlanFileStatus::CannotOpen);
    EXPECT_EQ(plan.Count(), 6u);
}

TEST(ChannelPlanFile, ShortFilesGiveZeroBytesForTheMissingPart) {
    test::TempDir dir;
    const CommonChannel a = test::MakeChannel(1, {.eia = 7, .name = "ABC"});
    std::string bytes = Header(3, 200, 1) + RecordBytes(a) + RecordBytes(a).substr(0, 10);
    test::WriteFile(dir.File("short.f71CH"), bytes);
    const PlanFileLoad load = LoadChannelPlanFile(dir.File("short.f71CH"));
    ASSERT_EQ(load.status, PlanFileStatus::Ok);
    EXPECT_EQ(load.complete, 1u);
    ASSERT_EQ(load.records.size(), 3u);
    EXPECT_EQ(load.records[0].Name(1), "ABC");
    EXPECT_EQ(load.records[1].Frequency(), a.Frequency()); // read part
    EXPECT_EQ(load.records[1].Eia(1), 0);                  // missing part zero
    EXPECT_EQ(RecordBytes(load.records[2]), std::string(29, '\0'));

    test::WriteFile(dir.File("zero.f71CH"), Header(0, 200, 2));
    CChannelPlanList plan = test::MakeTvPlan(1, 4);
    EXPECT_EQ(OpenChannelPlan(dir.File("zero.f71CH"), plan), PlanFileStatus::Ok);
    EXPECT_EQ(plan.Count(), 0u);
    EXPECT_EQ(plan.Kind(), 2);
}

TEST(ChannelPlanFile, SaveWritesNothingForAnEmptyPlanAndKeepsTheOldFileOnFailure) {
    test::TempDir dir;
    CChannelPlanList empty;
    empty.SetKind(1);
    EXPECT_EQ(SaveChannelPlan(dir.File("e.f71CH"), empty), PlanFileStatus::EmptyPlan);
    EXPECT_FALSE(std::ifstream(dir.File("e.f71CH")).good());

    const CChannelPlanList plan = test::MakeTvPlan(0, 4);
    EXPECT_EQ(SaveChannelPlan(dir.File("no/such/dir.f71CH"), plan), PlanFileStatus::CannotCreate);
    const std::string saved = dir.File("p.f71CH");
    ASSERT_EQ(SaveChannelPlan(saved, plan), PlanFileStatus::Ok);
    EXPECT_EQ(test::ReadFile(saved).size(), 12u + 4 * 29);
    EXPECT_EQ(test::ReadFile(saved).substr(0, 12), Header(4, 200, 0));
}

} // namespace
} // namespace qm
