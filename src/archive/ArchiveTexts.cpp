// The archive's messages, by status.
#include "archive/Archive.h"
#include "res/StringTable.h"

namespace qm {

std::string ArchiveStatusText(ArchiveStatus status, int languageBase) {
    static constexpr int kTexts[] = {
        txt::kDone,
        txt::kArchiveMustFilePathSqlitePATH,
        txt::kArchiveAddressHoldsPasswordKeepIn,
        txt::kCannotOpenArchive,
        txt::kArchiveFileDamagedOrNoArchive,
        txt::kArchiveWasWrittenByNewerVersion,
        txt::kArchiveCouldNotReadOrWritten,
        txt::kAddingArchiveWasStoppedNothingWas,
        txt::kThisBuildHasNoArchive,
    };
    static_assert(std::size(kTexts) == static_cast<std::size_t>(ArchiveStatus::Unavailable) + 1);
    return Tr(kTexts[static_cast<std::size_t>(status)], languageBase);
}

} // namespace qm
