#pragma once

#include "chart/ChartTypes.h"

namespace qm {

// The chart style of the per-user store ("ChartStyle": 0 classic, 1 clear); classic when
// missing or unknown.
ChartStyle StoredChartStyle();
void StoreChartStyle(ChartStyle style);

} // namespace qm
