#include "desktop/frame/ChartStyleSetting.h"

#include "desktop/UserStore.h"

namespace qm {

namespace {
const char* const kKey = "ChartStyle";
} // namespace

ChartStyle StoredChartStyle() {
    return UserStore().value(kKey, 0).toInt() == 1 ? ChartStyle::Clear : ChartStyle::Classic;
}

void StoreChartStyle(ChartStyle style) {
    UserStore().setValue(kKey, style == ChartStyle::Clear ? 1 : 0);
}

} // namespace qm
