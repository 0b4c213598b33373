// The channel editor object: what it works on, what it sends, and when its plan counts as
// edited.
#include <functional>
#include <gtest/gtest.h>

#include "ChannelTestPlans.h"
#include "channels/ChannelPlanEditor.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::MakeTvPlan;

// Records a failed read left behind, which the grid does not show: no tool works on them and
// a download sends none of them; once shown they are worked on and sent.
TEST(ChannelPlanEditor, RecordsTheModelDoesNotShowAreNeitherChangedNorSent) {
    CChannelPlanList list;
    ChannelPlanEditor editor(list);
    editor.TakeRead(MakeTvPlan(1, 3));
    editor.Copy({0});
    const std::vector<std::function<PlanEditResult()>> tools = {
        [&] { return editor.Paste(0); }, [&] { return editor.Insert(0); },
        [&] { return editor.Delete({0}); }, [&] { return editor.Order(); }};
    for (const auto& tool : tools)
        EXPECT_EQ(tool().refusal, PlanEditRefusal::NothingSelected);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_FALSE(editor.Edited());
    EXPECT_FALSE(editor.Undo());
    const CChannelPlanList none = editor.PlanToDownload();
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.Kind(), 1);

    editor.FillModel();
    ASSERT_TRUE(editor.Delete({0}).Accepted());
    EXPECT_EQ(editor.PlanToDownload().Count(), 2u);
}

// Whether closing must ask: after each step of a session, in order.
TEST(ChannelPlanEditor, EditedFollowsEditsUndoSaveDownloadAndANewRead) {
    test::TempDir dir;
    CChannelPlanList list;
    ChannelPlanEditor editor(list);
    const auto read = [&](int channels) {
        editor.TakeRead(MakeTvPlan(1, channels));
        editor.FillModel();
    };
    const struct {
        const char* step;
        std::function<void()> act;
        bool edited;
        std::size_t channels;
    } steps[] = {
        {"read", [&] { read(3); }, false, 3},
        {"delete", [&] { editor.Delete({0}); }, true, 2},
        {"saved", [&] { EXPECT_EQ(editor.SaveFile(dir.File("a.f71CH")), PlanFileStatus::Ok); },
         false, 2},
        {"undo", [&] { EXPECT_TRUE(editor.Undo()); }, true, 3},
        {"downloaded", [&] { editor.Downloaded(); }, false, 3},
        {"redo", [&] { EXPECT_TRUE(editor.Redo()); }, true, 2},
        {"save failed",
         [&] { EXPECT_NE(editor.SaveFile(dir.File("no/a.f71CH")), PlanFileStatus::Ok); }, true, 2},
        {"unreadable file",
         [&] { EXPECT_NE(editor.OpenFile(dir.File("none")).status, PlanFileStatus::Ok); }, true, 2},
        {"read again", [&] { read(4); }, false, 4},
        {"nothing to undo", [&] { EXPECT_FALSE(editor.Undo()); }, false, 4},
        {"opened",
         [&] { EXPECT_EQ(editor.OpenFile(dir.File("a.f71CH")).status, PlanFileStatus::Ok); }, false,
         2},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_EQ(editor.Edited(), s.edited);
        EXPECT_EQ(list.Count(), s.channels);
    }
}

} // namespace
} // namespace qm
