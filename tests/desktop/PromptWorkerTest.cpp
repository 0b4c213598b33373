#include <QTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "FakePrompt.h"
#include "desktop/OperationWorker.h"

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

TEST(OperationWorker, ProgressArrivesInOrderOnTheCallingThreadWhileEventsRun) {
    std::vector<int> positions;
    std::atomic<bool> release{false};
    bool timerRan = false;
    // The worker waits until the user-interface thread has handled a timer: proof that events
    // are processed while the job runs.
    QTimer::singleShot(0, [&] {
        timerRan = true;
        release = true;
    });
    const Qt::HANDLE uiThread = QThread::currentThreadId();
    bool allOnUi = true;
    const int result = RunInWorker<int>(
        [&](const ProgressFn& progress) {
            while (!release)
                std::this_thread::yield();
            for (int i = 1; i <= 5; ++i)
                progress(i, 5);
            return 42;
        },
        [&](int position, int range) {
            allOnUi = allOnUi && QThread::currentThreadId() == uiThread;
            positions.push_back(position * 10 + range);
        });
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(timerRan);
    EXPECT_TRUE(allOnUi);
    EXPECT_EQ(positions, (std::vector<int>{15, 25, 35, 45, 55}));
}

// Each report reaches the window while the job is still running, also when nothing else is
// queued behind it: the job goes on only once the window has had the report.
TEST(OperationWorker, EachReportReachesTheWindowWhileTheWorkerWaitsForIt) {
    std::atomic<int> received{0};
    const auto reached = [&](int count) {
        // A generous bound, so that a report that never arrives fails instead of hanging.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (received < count && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
        return received >= count;
    };
    const std::vector<bool> seen = RunInWorker<std::vector<bool>>(
        [&](const ProgressFn& progress) {
            std::vector<bool> each;
            for (int i = 1; i <= 3 && (each.empty() || each.back()); ++i) {
                progress(i, 3);
                each.push_back(reached(i));
            }
            return each;
        },
        [&](int, int) { ++received; });
    EXPECT_EQ(seen, (std::vector<bool>{true, true, true}));
}

} // namespace
} // namespace qm
