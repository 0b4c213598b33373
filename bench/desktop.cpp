// The desktop program: start to the main window painted (a child process), a double-click on
// a section to its pane filled and the first chart frame shown for the largest file (170
// channels, 320 spectrum points), and the processor time of the idle program with a chart
// pane open.
//
//   bench_desktop [--runs N] [--idle-seconds S]
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/FileTree.h"
#include "app/Settings.h"
#include "desktop/CLevantoApp.h"
#include "desktop/frame/CFileTreeView.h"
#include "desktop/frame/CLevantoView.h"
#include "desktop/frame/CMainFrame.h"
#include "measurement/MeasurementFile.h"
#include "measurement/SampleGenerator.h"
#include "res/StringTable.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void Report(const char* what, std::vector<double> ms, double target) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-58s median %7.1f ms  max %7.1f ms  (target < %.0f ms)\n", what,
                ms[ms.size() / 2], ms.back(), target);
}

// Start of qm7100-workdesk to its first paint of the main window.
double StartUpMs() {
    const std::string program = qm::ExecutableDirectory() + "/qm7100-workdesk";
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> env{"QM_EXIT_AFTER_PAINT=1"};
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    double ms = -1;
    if (spawned == 0) {
        char line[64] = {};
        const ssize_t n = read(out[0], line, sizeof line - 1);
        if (n > 0 && std::strncmp(line, "painted", 7) == 0)
            ms = Ms(Clock::now() - start);
        waitpid(pid, nullptr, 0);
    }
    close(out[0]);
    return ms;
}

// The largest measurement a meter writes: 170 enabled channels, 160 scan points and a
// spectrum of 320 points.
qm::_tagFileDataExt LargestMeasurement() {
    const int kind = 2;
    qm::_tagFileDataExt e = qm::MakeSampleMeasurement(kind, 0, "LARGEST");
    const int size = qm::EntrySize(kind);
    const int used = e.file[27];
    for (int i = used; i < qm::kMaxPlanEntries; ++i) {
        std::memcpy(&e.file[32 + i * size], &e.file[32 + (i % used) * size], size);
        e.file[32 + i * size + 11] &= ~qm::kEntryTilt; // the tilt list keeps its twelve pilots
    }
    e.file[27] = qm::kMaxPlanEntries;
    const int s = qm::SectionBase(kind);
    e.file[s + 104] = qm::kMaxRecords; // scan count
    e.file[s + 105] = 0;
    e.file[s + 120] = qm::kMaxSpectrumPoints >> 8; // big-endian
    e.file[s + 121] = qm::kMaxSpectrumPoints & 0xFF;
    for (int i = 315; i < qm::kMaxSpectrumPoints; ++i) {
        std::memcpy(&e.file[s + 2604 + 2 * i], &e.file[s + 2604 + 2 * (i - 5)], 2);
        std::memcpy(&e.file[s + 3244 + 2 * i], &e.file[s + 3244 + 2 * (i - 5)], 2);
    }
    return e;
}

void Spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    int runs = 10;
    int idleSeconds = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--idle-seconds") == 0)
            idleSeconds = std::max(1, std::atoi(argv[i + 1]));
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    std::vector<double> startUp;
    for (int i = 0; i < runs; ++i)
        startUp.push_back(StartUpMs());
    Report("start to main window painted", startUp, 500);

    QApplication app(argc, argv);
    qm::SetLanguageBase(qm::kLanguageEnglish);
    qm::SetSettingsPath("/nonexistent/setup.ini");
    qm::CLevantoApp::Instance().Files().Assign({LargestMeasurement()});
    qm::CMainFrame frame(qm::CMainFrame::Options{false, {}});
    frame.show();
    frame.RebuildFileTree();
    Spin(300);

    struct Section {
        int value;
        const char* name;
    };
    const Section sections[] = {{qm::kTreeTilt, "tilt"},         {qm::kTreeScan, "scan"},
                                {qm::kTreeSpectrum, "spectrum"}, {qm::kTreeLimit, "limit"},
                                {qm::kTreeLevel, "level"},       {qm::kTreeHum, "hum"}};
    qm::CLevantoView* view = frame.View();
    for (const Section& section : sections) {
        QTreeWidgetItem* item = frame.Tree()->SectionItem(0, section.value);
        if (!item)
            continue;
        const bool chart = section.value != qm::kTreeLevel && section.value != qm::kTreeHum;
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            const int before = view->FramesPainted();
            QEventLoop shown;
            QObject::connect(view, &qm::CLevantoView::FrameShown, &shown, &QEventLoop::quit);
            QTimer::singleShot(2000, &shown, &QEventLoop::quit);
            const Clock::time_point start = Clock::now();
            frame.OpenTreeItem(item);
            QApplication::processEvents();
            if (chart && view->FramesPainted() == before)
                shown.exec();
            times.push_back(Ms(Clock::now() - start));
            Spin(50);
        }
        const std::string what = std::string("double-click to pane filled") +
                                 (chart ? " and chart shown, " : ", ") + section.name;
        Report(what.c_str(), times, 100);
    }

    frame.OpenTreeItem(frame.Tree()->SectionItem(0, qm::kTreeSpectrum));
    Spin(1000);
    const double cpuStart = CpuSeconds();
    const Clock::time_point wallStart = Clock::now();
    Spin(idleSeconds * 1000);
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    std::printf("%-58s %.2f %% of a core over %.0f s  (target < 1 %%)\n",
                "idle with the spectrum pane open", 100.0 * cpu / wall, wall);
    frame.close();
    return 0;
}
