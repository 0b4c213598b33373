// qm7100-samples: writes generated sample project files for the demo, the simulator and tests.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/ProgramVersion.h"
#include "app/ProjectFile.h"
#include "measurement/MeterKind.h"
#include "measurement/SampleGenerator.h"

namespace {

const char* const kUsage =
    "usage: qm7100-samples OUT.f71 [KIND COUNT]...\n"
    "  writes generated measurement files of meter KIND (0 cable, 1 terrestrial, 2 DVB-T2),\n"
    "  COUNT of each (1-1000); without KIND COUNT pairs: one file of each kind 0, 1, 2\n"
    "  --version  print the version and exit\n"
    "  --help     this text\n";

// More files than a meter holds would only make a huge file nobody asked for.
constexpr long kMostFiles = 1000;

int Usage(const std::string& message) {
    std::fprintf(stderr, "qm7100-samples: %s\n%s", message.c_str(), kUsage);
    return 2;
}

bool Number(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text && !*end && value >= low && value <= high;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("qm7100-samples %s\n", qm::ProgramVersion());
            return 0;
        }
    }
    if (argc < 2)
        return Usage("no OUT.f71 given");
    if (argc % 2 != 0)
        return Usage("KIND and COUNT come in pairs");
    std::vector<qm::_tagFileDataExt> elements;
    if (argc == 2) {
        const char* names[] = {"CABLE01", "TERR01", "T2MUX01"};
        for (const qm::MeterKindTraits& traits : qm::kMeterKinds) {
            const int kind = qm::ToInt(traits.kind);
            elements.push_back(qm::MakeSampleMeasurement(kind, kind, names[kind]));
        }
    }
    long total = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        long kind = 0, count = 0;
        if (!Number(argv[i], 0, 2, kind))
            return Usage(std::string("KIND must be 0, 1 or 2: '") + argv[i] + "'");
        if (!Number(argv[i + 1], 1, kMostFiles, count) || (total += count) > kMostFiles)
            return Usage("COUNT must be from 1 to 1000 files in all: '" + std::string(argv[i + 1]) +
                         "'");
        std::vector<qm::_tagFileDataExt> set =
            qm::MakeSampleSet(static_cast<int>(kind), static_cast<int>(count));
        elements.insert(elements.end(), set.begin(), set.end());
    }
    qm::ProjectStatus status = qm::SaveProject(argv[1], elements);
    if (status != qm::ProjectStatus::Ok) {
        std::fprintf(stderr, "%s\n", qm::ProjectStatusText(status, argv[1]).c_str());
        return 1;
    }
    return 0;
}
