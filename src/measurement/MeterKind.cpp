#include "measurement/MeterKind.h"

#include "base/TextTrim.h"

namespace qm {

int MeterKindOfModel(std::string_view model) {
    model = Trim(model);
    if (model == "7100T2")
        return ToInt(MeterKind::T2);
    const std::string_view head = model.substr(0, 5);
    if (head == "7100T" || head == "7100D")
        return ToInt(MeterKind::Terrestrial);
    if (head == "7100Q" || head == "7100B")
        return ToInt(MeterKind::Compact);
    return -1;
}

} // namespace qm
