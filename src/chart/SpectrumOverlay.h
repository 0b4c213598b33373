#pragma once

#include <QString>
#include <vector>

#include "chart/ChartTypes.h"
#include "chart/PlotDataSlot.h"

namespace qm {

// A second line drawn under a spectrum chart's own trace, in its own colour, with a legend
// naming both: a kept reference spectrum, or the second file of a comparison.
struct SpectrumOverlay {
    std::vector<double> values;
    QString label;     // the overlay's legend text
    QString baseLabel; // the chart's own trace in the legend
    bool Empty() const { return values.size() < 2; }
};

// Sky blue: apart from the yellow trace, the red MAX trace and the orange marker texts.
inline constexpr COLORREF kOverlayColour = MakeColorref(80, 200, 255);

// The reference spectrum every spectrum chart draws until it is cleared (an empty value).
PlotDataSlot<SpectrumOverlay>& SpectrumReference();

} // namespace qm
