// qm7100-samples: writes generated sample project files for the demo, the simulator and tests.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ProjectFile.h"
#include "measurement/MeterKind.h"
#include "measurement/SampleGenerator.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: qm7100-samples OUT.f71 [KIND COUNT]...\n"
                             "  without KIND COUNT pairs: one file of each meter kind 0, 1, 2\n");
        return 2;
    }
    std::vector<qm::_tagFileDataExt> elements;
    if (argc == 2) {
        const char* names[] = {"CABLE01", "TERR01", "T2MUX01"};
        for (const qm::MeterKindTraits& traits : qm::kMeterKinds) {
            const int kind = qm::ToInt(traits.kind);
            elements.push_back(qm::MakeSampleMeasurement(kind, kind, names[kind]));
        }
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        std::vector<qm::_tagFileDataExt> set =
            qm::MakeSampleSet(std::atoi(argv[i]), std::atoi(argv[i + 1]));
        elements.insert(elements.end(), set.begin(), set.end());
    }
    qm::ProjectStatus status = qm::SaveProject(argv[1], elements);
    if (status != qm::ProjectStatus::Ok) {
        std::fprintf(stderr, "%s\n", qm::ProjectStatusText(status, argv[1]).c_str());
        return 1;
    }
    return 0;
}
