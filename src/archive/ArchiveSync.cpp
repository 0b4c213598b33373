#include "archive/ArchiveSync.h"

#include <algorithm>
#include <unordered_set>

namespace qm {

namespace {

// Measurements per transaction of a push: a few megabytes in memory at a time.
constexpr std::size_t kPushBatch = 200;

} // namespace

ArchiveResult LoadArchivedElements(Archive& archive, const std::vector<std::string>& hashes,
                                   std::vector<_tagFileDataExt>& elements) {
    elements.clear();
    std::vector<ArchiveItem> items;
    const ArchiveResult result = archive.Items(hashes, items);
    if (!result.Ok())
        return result;
    for (const ArchiveItem& item : items) {
        const auto element = ElementFromArchive(item.entry.kind, item.bytes);
        if (!element)
            return {ArchiveStatus::NotAnArchive,
                    "measurement " + item.entry.hash + " (" + archive.Location() + ")"};
        elements.push_back(*element);
    }
    return result;
}

ArchiveResult PushArchive(Archive& from, Archive& to, PushCounts& counts) {
    counts = {};
    std::vector<std::string> held;
    ArchiveResult result = to.Hashes(held);
    if (!result.Ok())
        return result;
    const std::unordered_set<std::string> there(held.begin(), held.end());
    std::vector<ArchivedMeasurement> all;
    if (result = from.List({}, all); !result.Ok())
        return result;
    std::vector<std::string> missing;
    for (const ArchivedMeasurement& m : all) {
        if (there.contains(m.entry.hash))
            ++counts.already;
        else
            missing.push_back(m.entry.hash);
    }
    for (std::size_t first = 0; first < missing.size(); first += kPushBatch) {
        const std::vector<std::string> batch(
            missing.begin() + static_cast<long>(first),
            missing.begin() + static_cast<long>(std::min(missing.size(), first + kPushBatch)));
        std::vector<ArchiveItem> stored;
        if (result = from.Items(batch, stored); !result.Ok())
            return result;
        std::vector<ArchiveItem> copies;
        for (ArchiveItem& item : stored) {
            const auto element = ElementFromArchive(item.entry.kind, item.bytes);
            if (!element)
                return {ArchiveStatus::NotAnArchive,
                        "measurement " + item.entry.hash + " (" + from.Location() + ")"};
            ArchiveItem copy = MakeArchiveItem(*element, {}, {});
            copy.entry = std::move(item.entry);
            copies.push_back(std::move(copy));
        }
        AddCounts added;
        if (result = to.Add(copies, added); !result.Ok())
            return result;
        // Another program may have added some of them in the meantime.
        counts.copied += added.added;
        counts.already += added.already;
    }
    return result;
}

} // namespace qm
