// The render thread's waking: on changes only, never on a clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "chart/CInstrument.h"
#include "chart/ChartTestSupport.h"

namespace qm {
namespace {

using test::CaptureSink;

// A controller that counts its frames, with the render period the test chooses.
class CountingInstrument final : public CInstrument {
public:
    explicit CountingInstrument(std::chrono::milliseconds period) : m_period(period) {}
    ~CountingInstrument() override { StopRenderThread(); }

    bool Create(IFrameSink* window, const PlotRect& rect) override {
        ConfigureChart(window, rect, ChartStyles({0xFFFFFF, StyleLine}, 0, 0));
        return StartRenderThread(m_period);
    }
    void Resize(int left, int top, int right, int bottom) override {
        ResizeChart(left, top, right, bottom);
    }
    int RefreshTexts() override {
        SetChartTexts(QStringLiteral("MHz"), 1);
        return 0;
    }
    int SetKindName() override { return 0; }
    void SetData(const _tagFileDataExt&) override {
        m_data.Publish(1);
        RequestFrame();
    }
    void OnDrag(int x, int) override { Surface()->MoveActiveMarker(x, 10); }
    QImage DrawFrame() override {
        drawnRevision = Surface()->Revision();
        ++frames;
        return {};
    }
    // True once a frame was drawn from the surface as it is now.
    bool Drawn() const { return frames > 0 && drawnRevision == Surface()->Revision(); }

    std::atomic<int> frames{0};
    std::atomic<std::uint64_t> drawnRevision{0};

protected:
    std::optional<std::uint64_t> DataGeneration() const override { return m_data.Generation(); }

private:
    std::chrono::milliseconds m_period;
    PlotDataSlot<int> m_data;
};

// Waits for a condition, giving up after a generous time.
template <class F> bool Eventually(F condition) {
    for (int i = 0; i < 10000 && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

TEST(RenderThread, AnIdleChartNeverWakesAndEachChangeIsDrawn) {
    CaptureSink view;
    // A period of 1 ms: a thread that woke on a clock would wake hundreds of times below.
    CountingInstrument chart(std::chrono::milliseconds(1));
    ASSERT_TRUE(chart.Create(&view, {0, 0, 300, 200}));
    // The first look, with nothing to draw yet; then the data give exactly one more wake and
    // one frame, however slowly the thread runs.
    ASSERT_TRUE(Eventually([&] { return chart.RenderWakeups() == 1; }));
    chart.SetData({});
    ASSERT_TRUE(Eventually([&] { return chart.frames == 1 && chart.RenderWakeups() == 2; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(chart.RenderWakeups(), 2);
    EXPECT_EQ(chart.frames, 1);

    // Size, texts, marker and data each notify the thread, which draws what they changed
    // (a change of several steps may take a frame per step).
    const std::function<void()> changes[] = {
        [&] { chart.Resize(0, 0, 200, 100); }, [&] { chart.RefreshTexts(); },
        [&] { chart.OnDrag(150, 50); }, [&] { chart.SetData({}); }};
    for (const auto& change : changes) {
        const int before = chart.frames;
        change();
        EXPECT_TRUE(Eventually([&] { return chart.frames > before && chart.Drawn(); }))
            << "frame " << before + 1;
    }
}

// With a period of an hour, a controller that drew a frame is still destroyed at once: the
// stop wakes the thread out of its period. (Were it not so, this test would hang.)
TEST(RenderThread, AStopEndsThePeriodWait) {
    CaptureSink view;
    auto chart = std::make_unique<CountingInstrument>(std::chrono::hours(1));
    ASSERT_TRUE(chart->Create(&view, {0, 0, 300, 200}));
    chart->SetData({});
    ASSERT_TRUE(Eventually([&] { return chart->frames == 1; }));
    chart.reset();
}

} // namespace
} // namespace qm
