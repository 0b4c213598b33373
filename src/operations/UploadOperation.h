#pragma once

#include <cstdint>
#include <string>

#include "app/FileCollection.h"
#include "operations/OperationOutcome.h"
#include "operations/SilentConnect.h"

namespace qm {

class cnComm;

struct UploadResult {
    OperationOutcome outcome;
    bool connected = false;
    std::string model;  // as the meter reported it, trimmed ("Wrong" when unreadable)
    int kind = 0;       // meter kind the files were read as
    int fileCount = -1; // files the meter announced, -1 when the count could not be read
    int filesRead = 0;  // files appended to the collection

    // Whether what was read should take the place of the files loaded before: the upload
    // ended well (a meter without files too), or read files before it failed. An upload that
    // failed before its first file has nothing to put in their place.
    bool ReplacesLoaded() const { return outcome.ok || filesRead > 0; }
};

// The upload: every measurement file stored on the meter into the collection. The
// collection is emptied only once the meter has answered the connect; files read before a
// failed read stay in it. Progress runs 0 ... file count, one step per file. Messages are
// plain boxes: 5650 when the meter cannot be connected, 5672 when a file read fails. An
// unreadable file count shows nothing (the collection stays empty) but is not a success.
UploadResult RunUpload(cnComm& port, const ConnectTarget& target, CFileCollection& collection,
                       const ProgressFn& progress = {});

// Whole seconds the rest of an upload takes at the pace so far: filesRead of fileCount files
// in elapsedMs. -1 while no file is in yet (no pace to go by), 0 once all are.
int UploadSecondsLeft(int filesRead, int fileCount, std::int64_t elapsedMs);

} // namespace qm
