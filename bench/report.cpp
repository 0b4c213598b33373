// The acceptance report written as a PDF: the three files of a site (one of each meter kind),
// without and with the details' first page, and a hundred files; and the three as HTML. The
// processor time counts the threads that lay the pages out.
//
//   bench_report [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "limits/LimitProfile.h"
#include "measurement/SampleGenerator.h"
#include "report/AcceptanceReport.h"

namespace {

qm::ReportInput Input(int count, bool details) {
    qm::ReportInput input;
    for (int i = 0; i < count; ++i)
        input.files.push_back(qm::MakeSampleMeasurement(i % 3, i / 3, "SITE" + std::to_string(i)));
    input.profile = qm::DefaultProfile();
    input.projectName = "bench.f71";
    if (details) {
        input.details.company = "Kabelnetz Nord GmbH";
        input.details.site = "Hafenstrasse 12, Block C";
        input.details.customer = "Wohnbau eG";
        input.details.order = "WO-2026-0412";
        input.details.technician = "A. Meyer";
    }
    return input;
}

void WritePdf(benchmark::State& state, const std::string& ext) {
    const qm::ReportInput input = Input(static_cast<int>(state.range(0)), state.range(1) != 0);
    const std::string path = "/tmp/bench_report_" + std::to_string(getpid()) + ext;
    int steps = 0;
    for (auto _ : state) {
        std::string error;
        const bool ok = qm::WriteReport(input, path, error, [&steps](int, int total) {
            steps = total;
            return true;
        });
        if (!ok)
            state.SkipWithError(error.c_str());
    }
    std::remove(path.c_str());
    state.counters["files"] = static_cast<double>(input.files.size());
    state.counters["steps"] = steps;
}

void Pdf(benchmark::State& state) {
    WritePdf(state, ".pdf");
}
void Html(benchmark::State& state) {
    WritePdf(state, ".html");
}

// Processor time is what counts on a shared machine; the wall time is shown beside it.
BENCHMARK(Pdf)->Args({3, 0})->Args({3, 1})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Pdf)
    ->Args({100, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime();
BENCHMARK(Html)->Args({3, 0})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
