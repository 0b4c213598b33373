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
#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "operations/UploadOperation.h"
#include "res/StringTable.h"

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

// Which file of how many and the time left at the pace so far, in both languages.
TEST(UploadProgress, FileOfCountAndTimeLeft) {
    const struct {
        int read, count;
        std::int64_t elapsedMs;
        int seconds;
        const char* english;
        const char* chinese;
    } cases[] = {
        {0, 0, 0, 0, "", ""},                                   // the meter holds no file
        {0, 4, 900, -1, "File 1 of 4", "第 1 个文件，共 4 个"}, // no pace yet
        {1, 4, 1500, 5, "File 2 of 4 \u2014 0:05 left", "第 2 个文件，共 4 个 \u2014 剩余 0:05"},
        {1, 200, 20000, 3980, "File 2 of 200 \u2014 1:06:20 left",
         "第 2 个文件，共 200 个 \u2014 剩余 1:06:20"},
        {4, 4, 8000, 0, "File 4 of 4", "第 4 个文件，共 4 个"}, // all in
        // A pace no dialog can show is cut to 99:59:59, never an overflow.
        {1, 1000000, 1000000000, 359999, "File 2 of 1000000 \u2014 99:59:59 left",
         "第 2 个文件，共 1000000 个 \u2014 剩余 99:59:59"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.english);
        const int left = UploadSecondsLeft(c.read, c.count, c.elapsedMs);
        EXPECT_EQ(left, c.seconds);
        SetLanguageBase(kLanguageEnglish);
        EXPECT_EQ(UploadProgressText(c.read, c.count, left), QString::fromUtf8(c.english));
        SetLanguageBase(kLanguageChinese);
        EXPECT_EQ(UploadProgressText(c.read, c.count, left), QString::fromUtf8(c.chinese));
    }
    SetLanguageBase(kLanguageEnglish);
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
    EXPECT_FALSE(runner.Start<int>([](const ProgressFn&) { return 0; }, {})) << "one job at a time";
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
