#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "measurement/FileDataExt.h"

namespace qm {

// Realistic sample data for the demo, the simulator and the tests. Deterministic: the same
// arguments always give the same bytes.

// Raw channel plan entries in the kind's layout (20 bytes for kind 0, 28 for kinds 1 and 2):
// a cable plan of analogue TV and DVB-C 256QAM channels at real frequencies, plus DVB-T (and
// for kind 2 DVB-T2) channels for kinds 1 and 2; twelve of them are tilt pilots.
// variant 0 is the full plan; other variants give shorter plans (at least 5 entries).
std::vector<std::vector<std::uint8_t>> SamplePlanEntries(int kind, int variant = 0);

// A measurement file of the kind with all six sections filled plausibly, named name (at most
// 9 characters are kept), dated by variant.
_tagFileDataExt MakeSampleMeasurement(int kind, int variant, const std::string& name);

// count files of one kind, named like the meter names them.
std::vector<_tagFileDataExt> MakeSampleSet(int kind, int count);

} // namespace qm
