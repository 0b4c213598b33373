#pragma once

#include <string>
#include <vector>

#include "cli/Cli.h"
#include "measurement/FileDataExt.h"

namespace qm::cli {

// Opens a project file; on failure prints why to stderr and returns false. A file cut short
// is read as far as it goes, with a warning on stderr naming the incomplete files; which
// elements they are goes to `incomplete` when given.
bool LoadProjectOrReport(Context& ctx, const std::string& path,
                         std::vector<_tagFileDataExt>& elements,
                         std::vector<bool>* incomplete = nullptr);

// Opens a project file and takes the element at INDEX (text of the argument), and whether it
// is incomplete. Returns kExitOk, kExitFailed (file unreadable or refused) or kExitUsage
// (INDEX malformed or outside the file).
int LoadElementOrReport(Context& ctx, const std::string& path, const std::string& indexText,
                        _tagFileDataExt& element, bool* incomplete = nullptr);

// SECTION names: level, tilt, scan, spectrum, hum, limit; their tree item values 500-1000,
// or 0 for anything else.
int SectionValue(const std::string& name);
// The SECTION name of a tree item value, empty for anything else.
std::string SectionName(int value);

} // namespace qm::cli
