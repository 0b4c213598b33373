#include "chart/InstrumentFactory.h"

#include "chart/CEndAnalyzer.h"
#include "chart/CLimitAnalyzer.h"
#include "chart/CScanAnalyzer.h"
#include "chart/CSpecAnalyzer.h"
#include "chart/CTiltAnalyzer.h"

namespace qm {

namespace {
constexpr int kTiltValue = 600;
constexpr int kScanValue = 700;
constexpr int kSpectrumValue = 800;
constexpr int kLimitValue = 1000;
} // namespace

std::unique_ptr<CInstrument> MakeInstrument(int sectionValue) {
    switch (sectionValue) {
    case kTiltValue:
        return std::make_unique<CTiltAnalyzer>();
    case kScanValue:
        return std::make_unique<CScanAnalyzer>();
    case kSpectrumValue:
        return std::make_unique<CSpecAnalyzer>();
    case kLimitValue:
        return std::make_unique<CLimitAnalyzer>();
    default:
        return std::make_unique<CEndAnalyzer>();
    }
}

} // namespace qm
