#pragma once

#include <string>
#include <vector>

#include "measurement/FileDataExt.h"
#include "measurement/Section.h"

namespace qm {

// Item values of the section children; a top-level item's value is its element index.
inline constexpr int kTreeLevel = TreeValue(PaneSection::Level);
inline constexpr int kTreeTilt = TreeValue(PaneSection::Tilt);
inline constexpr int kTreeScan = TreeValue(PaneSection::Scan);
inline constexpr int kTreeSpectrum = TreeValue(PaneSection::Spectrum);
inline constexpr int kTreeHum = TreeValue(PaneSection::Hum);
inline constexpr int kTreeLimit = TreeValue(PaneSection::Limit);

// One item of the file tree. Files and sections are told apart by their depth, never by
// the value, so any number of files can be loaded.
struct FileTreeItem {
    std::string text;
    int value = 0;        // element index (file) or 500-1000 (section)
    int elementIndex = 0; // the file the item belongs to (for a section: its parent's)
    bool isFile = true;
    bool incomplete = false; // the file was cut short; its text says so
    std::vector<FileTreeItem> children;
};

// The tree of a collection: one top-level item per element with its file name, and under it
// one child per section flag set, in the order level, tilt, scan, spectrum, hum, limit. An
// element marked in `incomplete` shows its name as IncompleteName gives it.
std::vector<FileTreeItem> RebuildFileTree(const std::vector<_tagFileDataExt>& elements,
                                          int languageBase,
                                          const std::vector<bool>& incomplete = {});

// A file name as shown for a file that was cut short: "NAME (incomplete)".
std::string IncompleteName(const std::string& name, int languageBase);
// The name as shown: marked when incomplete, else unchanged.
inline std::string ShownName(const std::string& name, bool incomplete, int languageBase) {
    return incomplete ? IncompleteName(name, languageBase) : name;
}

// English string id of a section child's text (5507-5512), 0 for other values.
int SectionTextId(int itemValue);

} // namespace qm
