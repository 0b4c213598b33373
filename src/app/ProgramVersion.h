#pragma once

namespace qm {

// The version every program prints for --version ("1.0.0"), the build's project version.
const char* ProgramVersion();

} // namespace qm
