#pragma once

#include <memory>

#include "chart/CInstrument.h"

namespace qm {

// A new, not yet created controller for a file-tree section item value: 600 tilt, 700 scan,
// 800 spectrum, 1000 limit; every other value (level, hum, none) gets the null controller.
std::unique_ptr<CInstrument> MakeInstrument(int sectionValue);

} // namespace qm
