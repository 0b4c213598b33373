// The channel editor's Upload and Download, end to end against the simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "channels/ChannelPlanFile.h"
#include "link/cnComm.h"
#include "measurement/SampleGenerator.h"
#include "operations/PlanTransfer.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::SimProcess;

class PlanTransfer : public ::testing::Test {
protected:
    ConnectTarget Target(const SimProcess& sim) {
        return ConnectTarget::Direct(sim.Path(), "115200");
    }
    // A plan of the first count sample entries of the kind.
    CChannelPlanList SamplePlan(int kind, std::size_t count) {
        CChannelPlanList list;
        list.SetKind(kind);
        const auto entries = SamplePlanEntries(kind, 0);
        for (std::size_t i = 0; i < count; ++i)
            list.Append(RecordFromEntry(kind, entries.at(i)));
        return list;
    }
    static bool SameRecords(const CChannelPlanList& a, const CChannelPlanList& b) {
        if (a.Count() != b.Count())
            return false;
        for (std::size_t i = 0; i < a.Count(); ++i)
            if (std::memcmp(&a.At(i), &b.At(i), sizeof(CommonChannel)) != 0)
                return false;
        return true;
    }

    test::TempDir dir;
    cnComm port;
};

TEST_F(PlanTransfer, UploadReadsTheSlotsPlan) {
    SimProcess sim({"--model", "7100T"});
    CChannelPlanList list;
    std::vector<int> steps;
    const PlanUploadResult r =
        UploadPlan(port, Target(sim), 0, list, [&](int p, int) { steps.push_back(p); });
    EXPECT_TRUE(r.outcome.ok);
    EXPECT_EQ(r.kind, 1);
    EXPECT_EQ(list.Kind(), 1);
    const auto entries = SamplePlanEntries(1, 0);
    ASSERT_EQ(list.Count(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(EntryFromRecord(1, list.At(i)), entries[i]) << i;
    EXPECT_EQ(steps, (std::vector<int>{10, 40}));
}

TEST_F(PlanTransfer, EmptySlotAndFailedReads) {
    const std::string log = dir.File("frames.log");
    SimProcess sim({"--model", "7100Q", "--log", log, "--fault", "bad-check=2:66"});
    CChannelPlanList list = SamplePlan(0, 5);
    // Slot D holds no plan: the list keeps what it had and the meter is not released.
    PlanUploadResult r = UploadPlan(port, Target(sim), 3, list);
    EXPECT_EQ(r.outcome.messages, (std::vector<OperationMessage>{{5651, MessageKind::Error}}));
    EXPECT_EQ(r.kind, -1);
    EXPECT_EQ(list.Count(), 5u);
    EXPECT_EQ(test::LoggedCodes(log), (std::vector<int>{0x2B, 0x81}));
    // The second frame of the plan read fails: the list is emptied.
    r = UploadPlan(port, Target(sim), 0, list);
    EXPECT_EQ(r.outcome.messages, (std::vector<OperationMessage>{{5652, MessageKind::Error}}));
    EXPECT_EQ(r.kind, 0) << "the columns were built before the read failed";
    EXPECT_TRUE(list.Empty());
}

TEST_F(PlanTransfer, DownloadThenUploadGivesThePlanBack) {
    const std::string log = dir.File("frames.log");
    SimProcess sim({"--model", "7100Q", "--log", log});
    const CChannelPlanList plan = SamplePlan(0, 5);
    const OperationOutcome w = DownloadPlan(port, Target(sim), 4, plan);
    EXPECT_TRUE(w.ok);
    EXPECT_EQ(w.messages, (std::vector<OperationMessage>{{5654, MessageKind::Plain}}));
    // Five channels go in two frames, then the slot is made current.
    EXPECT_EQ(test::LoggedCodes(log), (std::vector<int>{0x2B, 0x50, 0x67, 0x67, 0x28, 0x09}));
    const auto frames = test::LoggedFrames(log);
    EXPECT_EQ(frames[2].substr(0, 26), "55 AA 01 5A 67 02 01 05 04");
    EXPECT_EQ(frames[3].substr(0, 20), "55 AA 01 58 67 02 02");

    CChannelPlanList back;
    PlanUploadResult r = UploadPlan(port, Target(sim), 4, back);
    EXPECT_TRUE(r.outcome.ok);
    EXPECT_TRUE(SameRecords(back, plan));

    // A meter holding more channels than a plan may (the wire carries up to 255) gives no
    // plan: no channel-plan file could take it back.
    CChannelPlanList big = SamplePlan(0, 5);
    while (big.Count() < 171)
        big.Append(big.At(0));
    ASSERT_TRUE(DownloadPlan(port, Target(sim), 2, big).ok);
    r = UploadPlan(port, Target(sim), 2, back);
    EXPECT_EQ(r.outcome.messages, (std::vector<OperationMessage>{{5652, MessageKind::Error}}));
    EXPECT_TRUE(back.Empty());
}

TEST_F(PlanTransfer, DownloadRefusals) {
    const std::string log = dir.File("frames.log");
    SimProcess sim({"--model", "7100T2", "--log", log});
    // Nothing to send.
    CChannelPlanList empty;
    empty.SetKind(2);
    OperationOutcome r = DownloadPlan(port, Target(sim), 0, empty);
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5653, MessageKind::Error}}));
    // Records of no known kind fill no grid rows: the same refusal.
    CChannelPlanList unknown = SamplePlan(2, 5);
    unknown.SetKind(3);
    r = DownloadPlan(port, Target(sim), 0, unknown);
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5653, MessageKind::Error}}));
    // Three channels are refused before anything is sent, yet the slot is still activated.
    r = DownloadPlan(port, Target(sim), 1, SamplePlan(2, 3));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5655, MessageKind::Plain}}));
    EXPECT_EQ(test::LoggedCodes(log), (std::vector<int>{0x2B, 0x2B, 0x2B, 0x50, 0x28, 0x09}));
    // A plan of another meter kind is not sent either.
    r = DownloadPlan(port, Target(sim), 1, SamplePlan(1, 8));
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5655, MessageKind::Plain}}));
    EXPECT_NE(r.detail.find("kind 1"), std::string::npos) << r.detail;
    const std::vector<int> codes = test::LoggedCodes(log);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x67), 0);
}

TEST_F(PlanTransfer, FailedActivationAfterAWrite) {
    SimProcess sim({"--model", "7100D", "--fault", "bad-check=1:28"});
    const OperationOutcome r = DownloadPlan(port, Target(sim), 2, SamplePlan(1, 8));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.messages, (std::vector<OperationMessage>{{5654, MessageKind::Plain},
                                                         {5656, MessageKind::Error}}));
}

TEST_F(PlanTransfer, NoConnection) {
    CChannelPlanList list = SamplePlan(1, 4);
    EXPECT_EQ(UploadPlan(port, ConnectTarget::Direct(dir.File("none"), "115200"), 0, list)
                  .outcome.MessageId(),
              5650);
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_EQ(
        DownloadPlan(port, ConnectTarget::Direct(dir.File("none"), "115200"), 0, list).MessageId(),
        5650);
}

TEST_F(PlanTransfer, SimulatorServesAPlanFile) {
    const std::string file = dir.File("plan.f71CH");
    const CChannelPlanList plan = SamplePlan(2, 6);
    ASSERT_EQ(SaveChannelPlan(file, plan), PlanFileStatus::Ok);
    SimProcess sim({"--model", "7100T2", "--plan", "E=" + file});
    CChannelPlanList back;
    EXPECT_TRUE(UploadPlan(port, Target(sim), 4, back).outcome.ok);
    EXPECT_TRUE(SameRecords(back, plan));
}

} // namespace
} // namespace qm
