#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "measurement/FileDataExt.h"

namespace qm {

// Project files (.f71): element count and format version (32-bit little-endian), then the
// 10599-byte elements in collection order.
inline constexpr int kProjectVersion = 200;

enum class ProjectStatus {
    Ok,
    CannotOpen,   // the file could not be opened for reading
    CannotCreate, // the file (or its temporary) could not be created
    CannotWrite,  // writing or replacing the file failed; the old file is kept
    TooShort,     // not even the 8-byte header could be read
    BadVersion,   // the version field is not 200: the collection is emptied
};

struct ProjectLoad {
    ProjectStatus status = ProjectStatus::Ok;
    std::vector<_tagFileDataExt> elements;
    // Per element: the file ended before its measurement file did (ElementIsIncomplete).
    std::vector<bool> incomplete;
    // Elements the header announces; more than were read when the file is cut short.
    std::size_t announced = 0;

    std::size_t IncompleteCount() const;
    // Elements announced of which the file holds no byte.
    std::size_t MissingCount() const {
        return announced > elements.size() ? announced - elements.size() : 0;
    }
    bool Damaged() const { return IncompleteCount() > 0 || MissingCount() > 0; }
};

// Whether an element read with `received` of its bytes lacks part of its measurement file:
// fewer bytes than the kind byte and the file of its kind (9238 or 10598 bytes; the zero
// padding after a kind 0 file is not part of it). An element of no known kind needs all 10599.
bool ElementIsIncomplete(const _tagFileDataExt& element, std::size_t received);

// Replaces the file whole (ReplaceFileContents): a failed save never destroys the previous
// file.
ProjectStatus SaveProject(const std::string& path, const std::vector<_tagFileDataExt>& elements);

// Reads a project file. A short file gives its last element partly zero, and says so in
// `incomplete`; elements the file holds no byte of are not created, whatever count the header
// announces.
ProjectLoad LoadProject(const std::string& path);

class CFileCollection;

// Open into the loaded-file collection. A project file replaces the collection, which keeps
// which elements are incomplete; a file that cannot be read (missing, unreadable, shorter than
// its header, another format version) is reported and leaves the collection as it was. The
// load is handed back for the warnings of a damaged file.
ProjectLoad OpenProject(const std::string& path, CFileCollection& collection);

// English description of a failure, for the command-line tool and the desktop's reports; the
// system's reason comes from errno, so call it right after the failing call.
std::string ProjectStatusText(ProjectStatus status, const std::string& path);

} // namespace qm
