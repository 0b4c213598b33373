#include "app/FileTree.h"

#include "measurement/MeasurementFile.h"
#include "res/StringTable.h"
#include "res/TextCodec.h"

namespace qm {

namespace {

struct SectionChild {
    std::uint8_t flag;
    int textId;
    int value;
};

constexpr SectionChild kChildren[] = {
    {kFlagLevel, txt::kLevelAnalysis, kTreeLevel},
    {kFlagTilt, txt::kTiltAnalysis, kTreeTilt},
    {kFlagScan, txt::kScanAnalysis, kTreeScan},
    {kFlagSpectrum, txt::kSpectrumAnalysis, kTreeSpectrum},
    {kFlagHum, txt::kHumAnalysis, kTreeHum},
    {kFlagLimit, txt::kLimitAnalysis, kTreeLimit},
};

} // namespace

int SectionTextId(int itemValue) {
    for (const SectionChild& c : kChildren)
        if (c.value == itemValue)
            return c.textId;
    return 0;
}

std::string IncompleteName(const std::string& name, int languageBase) {
    std::string text = Tr(txt::kIncomplete, languageBase);
    const std::size_t at = text.find("%s");
    return at == std::string::npos ? name + text : text.replace(at, 2, name);
}

std::vector<FileTreeItem> RebuildFileTree(const std::vector<_tagFileDataExt>& elements,
                                          int languageBase, const std::vector<bool>& incomplete) {
    std::vector<FileTreeItem> tree;
    tree.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        MeasurementFile file(elements[i]);
        FileTreeItem item;
        item.incomplete = i < incomplete.size() && incomplete[i];
        item.text =
            ShownName(AnsiToUtf8(file.FileName(), languageBase), item.incomplete, languageBase);
        item.value = static_cast<int>(i);
        item.elementIndex = static_cast<int>(i);
        const std::uint8_t flags = file.SectionFlags();
        for (const SectionChild& c : kChildren) {
            if (!(flags & c.flag))
                continue;
            FileTreeItem child;
            child.text = Tr(c.textId, languageBase);
            child.value = c.value;
            child.elementIndex = static_cast<int>(i);
            child.isFile = false;
            item.children.push_back(std::move(child));
        }
        tree.push_back(std::move(item));
    }
    return tree;
}

} // namespace qm
