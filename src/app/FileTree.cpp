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
    {kFlagLevel, 5512, kTreeLevel}, {kFlagTilt, 5507, kTreeTilt},
    {kFlagScan, 5510, kTreeScan},   {kFlagSpectrum, 5508, kTreeSpectrum},
    {kFlagHum, 5511, kTreeHum},     {kFlagLimit, 5509, kTreeLimit},
};

} // namespace

int SectionTextId(int itemValue) {
    for (const SectionChild& c : kChildren)
        if (c.value == itemValue)
            return c.textId;
    return 0;
}

std::vector<FileTreeItem> RebuildFileTree(const std::vector<_tagFileDataExt>& elements,
                                          int languageBase) {
    std::vector<FileTreeItem> tree;
    tree.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        MeasurementFile file(elements[i]);
        FileTreeItem item;
        item.text = AnsiToUtf8(file.FileName(), languageBase);
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
