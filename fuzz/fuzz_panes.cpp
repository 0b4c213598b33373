// A measurement element through every analysis pane and the file tree.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzElement.h"
#include "FuzzedDataProvider.h"
#include "Utf8Oracle.h"
#include "app/FileTree.h"
#include "panes/AnalysisPane.h"
#include "res/StringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qm;
    const _tagFileDataExt element = fuzz::ElementFrom(data, size);
    FuzzedDataProvider extra(data, size);
    const int base = extra.ConsumeBool() ? kLanguageChinese : kLanguageEnglish;
    std::vector<long> positions;
    while (positions.size() < 6 && extra.remaining_bytes() > 0)
        positions.push_back(extra.ConsumeIntegral<long>());
    if (positions.empty())
        positions = {0, 1, 159, 169, 319};

    for (PaneSection section : {PaneSection::Level, PaneSection::Tilt, PaneSection::Scan,
                                PaneSection::Spectrum, PaneSection::Hum, PaneSection::Limit}) {
        auto pane = MakeAnalysisPane(section, base, "dBuV");
        pane->ShowFile(element);
        for (long position : positions)
            pane->MarkerMoved(position);
        // Rows as wide as their columns; every text shown is UTF-8 (the file's own texts are
        // converted from the meter's code page).
        for (const PaneTable& table : pane->Tables())
            for (const auto& row : table.rows) {
                if (row.size() != table.columns.size())
                    __builtin_trap();
                for (const std::string& text : row)
                    if (!fuzz::StrictUtf8(text))
                        __builtin_trap();
            }
        if (!fuzz::StrictUtf8(pane->FileNameText()))
            __builtin_trap();
        const std::string csv = pane->ExportCsv();
        if (csv.empty() && element.kind <= 2)
            __builtin_trap(); // a file of a known layout always exports its header rows
    }
    const std::vector<_tagFileDataExt> elements{element, element};
    const auto tree = RebuildFileTree(elements, base);
    if (tree.size() != elements.size() || !fuzz::StrictUtf8(tree[0].text))
        __builtin_trap();
    return 0;
}
