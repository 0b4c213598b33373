#include "chart/SpectrumOverlay.h"

namespace qm {

PlotDataSlot<SpectrumOverlay>& SpectrumReference() {
    static PlotDataSlot<SpectrumOverlay> reference;
    return reference;
}

} // namespace qm
