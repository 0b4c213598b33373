#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "archive/Archive.h"

namespace qm {

// The loaded elements of stored measurements (whole hashes), in the order given.
ArchiveResult LoadArchivedElements(Archive& archive, const std::vector<std::string>& hashes,
                                   std::vector<_tagFileDataExt>& elements);

struct PushCounts {
    std::size_t copied = 0;
    std::size_t already = 0; // held by both
};

// Copies the measurements of from that to lacks, with their facts as they are (site, dates,
// technician, source): a field laptop's archive onto the team's server. Batches of
// measurements go in one transaction each, so a failure keeps the batches before it whole and
// a second push copies the rest; a push after a complete one copies nothing.
ArchiveResult PushArchive(Archive& from, Archive& to, PushCounts& counts);

} // namespace qm
