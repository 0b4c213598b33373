#pragma once

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
};

// Replaces the file whole (ReplaceFileContents): a failed save never destroys the previous
// file.
ProjectStatus SaveProject(const std::string& path, const std::vector<_tagFileDataExt>& elements);

// Reads a project file. A short file gives its last element partly zero; elements the file
// holds no byte of are not created, whatever count the header announces.
ProjectLoad LoadProject(const std::string& path);

class CFileCollection;

// Open into the loaded-file collection. A project file replaces the collection; one of another
// format version empties it, as opening always has; a file that cannot be read at all (missing,
// unreadable, shorter than its header) is reported and leaves the collection as it was.
ProjectStatus OpenProject(const std::string& path, CFileCollection& collection);

// English description of a failure, for the command-line tool and the desktop's reports; the
// system's reason comes from errno, so call it right after the failing call.
std::string ProjectStatusText(ProjectStatus status, const std::string& path);

} // namespace qm
