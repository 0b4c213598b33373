// Hours of use in a few seconds: 200 panes opened from the tree one after the other, charts
// included, leave the program's memory and threads where they were.
#include <QDir>
#include <QPixmapCache>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <malloc.h>

#include "FrameTestSupport.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/panes/CAnalysisDialog.h"

namespace qm {
namespace {

// The sanitizers keep freed memory (AddressSanitizer's quarantine) or grow their own bookkeeping
// with every allocation (ThreadSanitizer), so resident memory says nothing under them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kUnderSanitizer = true;
#else
constexpr bool kUnderSanitizer = false;
#endif
#else
constexpr bool kUnderSanitizer = false;
#endif

struct Usage {
    long residentKb = 0;
    int threads = 0;
};

Usage Now() {
    // Deleted panes and finished chart threads go before counting. The style's pixmap cache
    // fills up to its 10 MB limit with frames of every pane size seen, and freed heap is
    // handed back, so that what is left is memory something still holds.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QPixmapCache::clear();
    malloc_trim(0);
    Usage usage;
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages >> pages;
    usage.residentKb = pages * (sysconf(_SC_PAGESIZE) / 1024);
    usage.threads = static_cast<int>(
        QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    return usage;
}

TEST(FaultPaneSoak, TwoHundredPanesLeaveMemoryAndThreadsFlat) {
    test::FrameFixture fixture;
    // The real pane dialogs, not the fixture's recording ones.
    fixture.frame = std::make_unique<CMainFrame>(CMainFrame::Options{false, {}});
    fixture.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.frame.get()));
    fixture.frame->OpenProjectFile(test::SourcePath("samples/sample.f71"));
    CFileTreeView* tree = fixture.frame->Tree();
    std::vector<QTreeWidgetItem*> sections;
    for (int f = 0; f < tree->topLevelItemCount(); ++f)
        for (int s = 0; s < tree->topLevelItem(f)->childCount(); ++s)
            sections.push_back(tree->topLevelItem(f)->child(s));
    ASSERT_GE(sections.size(), 6u);

    Usage early;
    int charts = 0;
    for (int i = 1; i <= 200; ++i) {
        fixture.DoubleClick(sections[static_cast<std::size_t>(i) % sections.size()]);
        ASSERT_NE(fixture.frame->PaneDialog(), nullptr) << i;
        charts += fixture.frame->Holder().CurrentKind() != "CS_NULL_MEAS";
        QTest::qWait(5); // let the chart draw a frame
        if (i == 20)
            early = Now();
    }
    const Usage late = Now();
    std::printf("after 20 panes: %ld kB, %d threads; after 200: %ld kB, %d threads; %d charts\n",
                early.residentKb, early.threads, late.residentKb, late.threads, charts);
    EXPECT_GE(charts, 60);
    EXPECT_LE(late.threads, early.threads);
    // Qt's font, style and pixmap caches still grow by 2 to 5 MB; a pane or chart kept alive
    // each time (a chart frame alone is over a megabyte) would add far more than this over
    // 180 panes.
    if (!kUnderSanitizer) {
        EXPECT_LT(late.residentKb - early.residentKb, 16384);
    }
    EXPECT_TRUE(fixture.prompt.messages.empty());
}

} // namespace
} // namespace qm
