#include "measurement/MeterKind.h"

namespace qm {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

} // namespace

int MeterKindOfModel(std::string_view model) {
    while (!model.empty() && IsSpace(model.front()))
        model.remove_prefix(1);
    while (!model.empty() && IsSpace(model.back()))
        model.remove_suffix(1);
    if (model == "7100T2")
        return kKindT2;
    const std::string_view head = model.substr(0, 5);
    if (head == "7100T" || head == "7100D")
        return kKindTerrestrial;
    if (head == "7100Q" || head == "7100B")
        return kKindCompact;
    return -1;
}

} // namespace qm
