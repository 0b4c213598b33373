// A measurement element as the archive keeps it: its facts, its bytes and its channel values.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzElement.h"
#include "Utf8Oracle.h"
#include "archive/ArchiveRecord.h"
#include "measurement/MeterKind.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qm;
    const _tagFileDataExt element = fuzz::ElementFrom(data, size);
    // The rest of the input as the technician's name: a server takes only UTF-8 texts.
    const std::string name(reinterpret_cast<const char*>(data), size);
    const ArchiveItem item = MakeArchiveItem(element, name, name, "2026-01-01 00:00:00");
    for (const std::string* text :
         {&item.entry.site, &item.entry.fileDate, &item.entry.technician, &item.entry.source})
        if (!fuzz::StrictUtf8(*text))
            __builtin_trap();
    for (const ArchivedChannel& c : item.channels)
        if (!fuzz::StrictUtf8(c.type))
            __builtin_trap();
    const std::string& at = item.entry.measuredAt;
    if (!at.empty() && (at.size() != 19 || at[4] != '-' || at[10] != ' '))
        __builtin_trap();
    // What is stored comes back as the same element, up to the file's end.
    const auto back = ElementFromArchive(item.entry.kind, item.bytes);
    if (!back || std::memcmp(back->Bytes(), element.Bytes(), item.bytes.size() + 1) != 0)
        __builtin_trap();
    return 0;
}
