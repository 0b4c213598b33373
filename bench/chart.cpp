// Frame composition time of the two busiest charts at 1920 x 1080, and the processor time an
// open chart costs while nothing changes.
//
//   bench_chart [--frames N] [--idle-seconds S]
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "chart/BarChart.h"
#include "chart/CSpecAnalyzer.h"
#include "chart/IFrameSink.h"
#include "measurement/SampleGenerator.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Keeps the last frame, as the chart view does.
class HoldingSink : public qm::IFrameSink {
public:
    void PresentFrame(const QImage& frame, const qm::PlotRect&) override {
        std::lock_guard lock(m_mutex);
        m_last = frame;
        ++m_count;
    }
    int Count() const {
        std::lock_guard lock(m_mutex);
        return m_count;
    }

private:
    mutable std::mutex m_mutex;
    QImage m_last;
    int m_count = 0;
};

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

template <class F> void Report(const char* name, int frames, F&& drawOne) {
    for (int i = 0; i < 10; ++i)
        drawOne(i);
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const auto start = Clock::now();
        drawOne(i);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("%-40s mean %.3f ms  median %.3f ms  p95 %.3f ms  (%d frames)\n", name,
                sum / static_cast<double>(ms.size()), ms[ms.size() / 2], ms[ms.size() * 95 / 100],
                frames);
}

std::vector<qm::ChannelBar> ScanBars170() {
    std::vector<qm::ChannelBar> bars(170);
    for (std::size_t k = 0; k < bars.size(); ++k) {
        qm::ChannelBar& b = bars[k];
        if (k < 60) {
            b.primary = 70 + 5 * std::sin(static_cast<double>(k) * 0.3);
            b.secondary = b.primary - 10;
            b.a1 = b.a2 = true;
        } else {
            b.primary = 62 + 3 * std::cos(static_cast<double>(k) * 0.2);
            b.b = true;
        }
    }
    return bars;
}

} // namespace

int main(int argc, char** argv) {
    int frames = 500;
    int idleSeconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0)
            frames = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--idle-seconds") == 0)
            idleSeconds = std::max(1, std::atoi(argv[i + 1]));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const qm::PlotRect full{0, 0, kWidth, kHeight};

    {
        HoldingSink view;
        qm::CScanAnalyzer scan;
        scan.Create(&view, full);
        scan.RefreshTexts();
        scan.Resize(0, 0, kWidth, kHeight);
        const std::vector<qm::ChannelBar> bars = ScanBars170();
        scan.Surface()->SetMarkerPosition(0, 80);
        Report("scan chart, 170 bars, 1920x1080", frames,
               [&](int) { scan.Surface()->DrawBarFrame(bars); });
    }
    {
        HoldingSink view;
        qm::CSpecAnalyzer spec;
        spec.Create(&view, full);
        spec.RefreshTexts();
        spec.Resize(0, 0, kWidth, kHeight);
        std::vector<double> trace(315), max(315);
        for (std::size_t i = 0; i < trace.size(); ++i) {
            trace[i] =
                55 + 8 * std::sin(static_cast<double>(i) * 0.07) + static_cast<double>(i % 7) * 0.3;
            max[i] = trace[i] + 1.5;
        }
        spec.Surface()->SetMarkerPosition(0, 150);
        Report("spectrum chart, 2 x 315 points, 1920x1080", frames,
               [&](int) { spec.Surface()->DrawSpectrumFrame(trace, max); });
    }

    for (int section = 0; section < 2; ++section) {
        HoldingSink view;
        std::unique_ptr<qm::CInstrument> chart;
        if (section == 0)
            chart = std::make_unique<qm::CScanAnalyzer>();
        else
            chart = std::make_unique<qm::CSpecAnalyzer>();
        chart->Create(&view, full);
        chart->SetData(qm::MakeSampleMeasurement(1, 0, "BENCH"));
        chart->RefreshTexts();
        chart->Resize(0, 0, kWidth, kHeight);
        while (view.Count() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const int framesBefore = view.Count();
        const int wakeupsBefore = chart->RenderWakeups();
        const double cpuBefore = CpuSeconds();
        const auto wallBefore = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
        const double cpu = CpuSeconds() - cpuBefore;
        const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
        std::printf("%-40s %.4f %% of a core over %.1f s (%.2f ms CPU, %d frames composed, "
                    "%d render thread wake-ups)\n",
                    section == 0 ? "idle scan chart, 1920x1080" : "idle spectrum chart, 1920x1080",
                    100.0 * cpu / wall, wall, cpu * 1000, view.Count() - framesBefore,
                    chart->RenderWakeups() - wakeupsBefore);
    }
    return 0;
}
