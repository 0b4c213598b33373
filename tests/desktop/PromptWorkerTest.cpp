#include <QThread>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "FakePrompt.h"
#include "OperationWait.h"
#include "desktop/OperationRunner.h"

namespace qm {
namespace {

TEST(Prompt, FiltersAndOutcomeMessages) {
    EXPECT_EQ(QtFileFilter("*.f71|*.f71||"), "*.f71 (*.f71)");
    EXPECT_EQ(QtFileFilter("*.bmp|*.bmp|*.csv|*.csv||"), "*.bmp (*.bmp);;*.csv (*.csv)");

    test::FakePrompt fake;
    ScopedPrompt scope(fake);
    OperationOutcome outcome;
    outcome.Show(5654, MessageKind::Plain);
    outcome.Show(5656, MessageKind::Error);
    outcome.detail = "time-out waiting for the reply to 0x2B";
    ShowOutcome(nullptr, outcome);
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[0].caption, "QM7100");
    EXPECT_EQ(fake.messages[0].text, "DownLoad CH plan is successfully!");
    EXPECT_TRUE(fake.messages[0].detail.isEmpty());
    EXPECT_EQ(fake.messages[1].caption, "QM7100 Workdesk");
    EXPECT_EQ(fake.messages[1].detail, "time-out waiting for the reply to 0x2B");
}

// The runner hands progress over in order on this thread, and the result after it; a second
// job waits for the first; controls are disabled while it runs and get their state back.
TEST(OperationRunner, ProgressArrivesInOrderBeforeTheResultAndControlsComeBack) {
    QWidget owner;
    QWidget enabled(&owner);
    QWidget disabled(&owner);
    disabled.setEnabled(false);
    OperationRunner runner(&owner);
    runner.SetControls({&enabled, &disabled});
    std::vector<int> seen;
    const Qt::HANDLE uiThread = QThread::currentThreadId();
    bool allOnUi = true;
    runner.SetProgress([&](int position, int range) {
        allOnUi = allOnUi && QThread::currentThreadId() == uiThread;
        seen.push_back(position * 10 + range);
    });
    std::atomic<bool> release{false};
    ASSERT_TRUE(runner.Start<int>(
        [&](const ProgressFn& progress) {
            while (!release)
                std::this_thread::yield();
            for (int i = 1; i <= 5; ++i)
                progress(i, 5);
            return 42;
        },
        [&](int result) { seen.push_back(result); }));
    EXPECT_TRUE(runner.Busy());
    EXPECT_FALSE(enabled.isEnabled());
    EXPECT_FALSE(runner.Start<int>([](const ProgressFn&) { return 0; }, {}))
        << "one job at a time";
    release = true;
    ASSERT_TRUE(test::WaitForOperations());
    EXPECT_TRUE(allOnUi);
    EXPECT_EQ(seen, (std::vector<int>{15, 25, 35, 45, 55, 42}));
    EXPECT_TRUE(enabled.isEnabled());
    EXPECT_FALSE(disabled.isEnabled());
}

// Each report reaches the window while the job is still running, also when nothing else is
// queued behind it: the job goes on only once the window has had the report.
TEST(OperationRunner, EachReportReachesTheWindowWhileTheWorkerWaitsForIt) {
    std::atomic<int> received{0};
    const auto reached = [&](int count) {
        // A generous bound, so that a report that never arrives fails instead of hanging.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (received < count && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
        return received >= count;
    };
    QWidget owner;
    OperationRunner runner(&owner);
    runner.SetProgress([&](int, int) { ++received; });
    std::vector<bool> seen;
    runner.Start<std::vector<bool>>(
        [&](const ProgressFn& progress) {
            std::vector<bool> each;
            for (int i = 1; i <= 3 && (each.empty() || each.back()); ++i) {
                progress(i, 3);
                each.push_back(reached(i));
            }
            return each;
        },
        [&](std::vector<bool> result) { seen = std::move(result); });
    ASSERT_TRUE(test::WaitForOperations());
    EXPECT_EQ(seen, (std::vector<bool>{true, true, true}));
}

} // namespace
} // namespace qm
