// Channel-plan commands of the editor and their undo history.
#include <gtest/gtest.h>

#include "ChannelTestPlans.h"
#include "channels/CellEditRules.h"
#include "channels/PlanEditHistory.h"

namespace qm {
namespace {

using test::MakeTvPlan;

std::vector<int> Eias(const CChannelPlanList& plan) {
    std::vector<int> eias;
    for (const CommonChannel& r : plan.Records())
        eias.push_back(r.Eia(plan.Kind()));
    return eias;
}

TEST(PlanCommands, InsertCopiesTheRowAfterItAlsoAtTheLastRowAndRespectsTheLimit) {
    CChannelPlanList plan = MakeTvPlan(1, 3);
    PlanEditResult result = InsertChannelAfter(plan, 2);
    ASSERT_TRUE(result.Accepted());
    EXPECT_EQ(result.currentRow, 3u);
    EXPECT_EQ(Eias(plan), (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(InsertChannelAfter(plan, 4).refusal, PlanEditRefusal::NothingSelected);

    CChannelPlanList full = MakeTvPlan(1, static_cast<int>(kMaxPlanChannels));
    EXPECT_EQ(InsertChannelAfter(full, 0).refusal, PlanEditRefusal::TooManyChannels);
    EXPECT_EQ(full.Count(), kMaxPlanChannels);
    EXPECT_FALSE(PlanEditRefusalText(PlanEditRefusal::TooManyChannels).empty());
}

TEST(PlanCommands, InsertOfATiltRowRefusedAtTheTiltLimit) {
    CChannelPlanList plan = MakeTvPlan(1, kMaxTiltChannels);
    for (std::size_t i = 0; i < plan.Count(); ++i)
        plan.At(i).SetFlags(1, kChannelEnabled | kChannelTilt);
    EXPECT_EQ(InsertChannelAfter(plan, 0).refusal, PlanEditRefusal::TooManyTilts);
    EXPECT_EQ(plan.Count(), static_cast<std::size_t>(kMaxTiltChannels));
}

TEST(PlanCommands, DeleteOfSomeAndOfAllRows) {
    CChannelPlanList plan = MakeTvPlan(1, 5);
    PlanEditResult result = DeleteChannels(plan, {3, 1, 3, 99});
    ASSERT_TRUE(result.Accepted());
    EXPECT_EQ(Eias(plan), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(result.currentRow, 1u);
    EXPECT_EQ(DeleteChannels(plan, {}).refusal, PlanEditRefusal::NothingSelected);
    ASSERT_TRUE(DeleteChannels(plan, {0, 1, 2}).Accepted());
    EXPECT_TRUE(plan.Empty());
    EXPECT_EQ(plan.Kind(), 1); // an emptied plan keeps its kind
}

TEST(PlanCommands, OrderSortsByFrequencyKeepingEqualFrequenciesInOrder) {
    CChannelPlanList plan = MakeTvPlan(2, 6);
    const std::uint32_t freqs[] = {900, 500, 700, 500, 900, 100};
    for (std::size_t i = 0; i < 6; ++i)
        plan.At(i).SetFrequency(freqs[i]);
    ASSERT_TRUE(OrderByFrequency(plan).Accepted());
    EXPECT_EQ(Eias(plan), (std::vector<int>{6, 2, 4, 3, 1, 5}));
}

TEST(PlanCommands, PasteIntoThisOrAnotherPlanOfTheSameKindOnly) {
    CChannelPlanList source = MakeTvPlan(1, 4);
    const PlanClip clip = CopyChannels(source, {3, 1});
    EXPECT_EQ(clip.kind, 1);
    ASSERT_EQ(clip.records.size(), 2u);

    CChannelPlanList other = MakeTvPlan(1, 2);
    PlanEditResult result = PasteChannels(other, clip, 0);
    ASSERT_TRUE(result.Accepted());
    EXPECT_EQ(Eias(other), (std::vector<int>{1, 2, 4, 2}));
    EXPECT_EQ(result.currentRow, 2u);
    ASSERT_TRUE(PasteChannels(source, clip, std::nullopt).Accepted()); // at the end
    EXPECT_EQ(Eias(source), (std::vector<int>{1, 2, 3, 4, 2, 4}));

    CChannelPlanList kind2 = MakeTvPlan(2, 4);
    EXPECT_EQ(PasteChannels(kind2, clip, 0).refusal, PlanEditRefusal::OtherKind);
    CChannelPlanList none;
    EXPECT_EQ(PasteChannels(none, clip, std::nullopt).refusal, PlanEditRefusal::OtherKind);
    EXPECT_EQ(kind2.Count(), 4u);
    EXPECT_TRUE(none.Empty());

    CChannelPlanList nearlyFull = MakeTvPlan(1, static_cast<int>(kMaxPlanChannels) - 1);
    EXPECT_EQ(PasteChannels(nearlyFull, clip, 0).refusal, PlanEditRefusal::TooManyChannels);
    EXPECT_EQ(nearlyFull.Count(), kMaxPlanChannels - 1);
}

TEST(PlanHistory, UndoRedoAcrossARefusedEditWhichRecordsNothing) {
    CChannelPlanList plan = MakeTvPlan(1, 4);
    CChannelGridModel grid;
    grid.Fill(plan);
    CCellEditRules rules(plan, grid);
    CPlanEditHistory history;

    history.Begin(plan);
    ASSERT_TRUE(InsertChannelAfter(plan, 3).Accepted());
    EXPECT_TRUE(history.Commit(plan));
    grid.Fill(plan);

    // EIA 2 is in use by another row: refused, nothing recorded.
    history.Begin(plan);
    const CellEditOutcome refused = rules.EditFinished(0, 1, "2");
    ASSERT_TRUE(refused.message.has_value());
    EXPECT_FALSE(history.Commit(plan));

    history.Begin(plan);
    rules.EditFinished(0, 1, "77");
    EXPECT_TRUE(history.Commit(plan));
    EXPECT_EQ(Eias(plan), (std::vector<int>{77, 2, 3, 4, 4}));

    ASSERT_TRUE(history.Undo(plan));
    EXPECT_EQ(Eias(plan), (std::vector<int>{1, 2, 3, 4, 4}));
    ASSERT_TRUE(history.Undo(plan));
    EXPECT_EQ(Eias(plan), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(history.Undo(plan));
    ASSERT_TRUE(history.Redo(plan));
    ASSERT_TRUE(history.Redo(plan));
    EXPECT_EQ(Eias(plan), (std::vector<int>{77, 2, 3, 4, 4}));
    EXPECT_FALSE(history.Redo(plan));

    // A new edit after an undo drops what could be redone.
    history.Undo(plan);
    history.Begin(plan);
    OrderByFrequency(plan); // already in order: changes nothing, records nothing
    EXPECT_FALSE(history.Commit(plan));
    EXPECT_TRUE(history.CanRedo());
    history.Begin(plan);
    DeleteChannels(plan, {0});
    EXPECT_TRUE(history.Commit(plan));
    EXPECT_FALSE(history.CanRedo());
}

TEST(PlanHistory, KeepsOnlyTheNewestSteps) {
    CChannelPlanList plan = MakeTvPlan(1, 4);
    CPlanEditHistory history(2);
    for (std::size_t row = 0; row < 3; ++row) {
        history.Begin(plan);
        InsertChannelAfter(plan, row);
        history.Commit(plan);
    }
    EXPECT_TRUE(history.Undo(plan));
    EXPECT_TRUE(history.Undo(plan));
    EXPECT_FALSE(history.Undo(plan));
    EXPECT_EQ(plan.Count(), 5u);
}

} // namespace
} // namespace qm
