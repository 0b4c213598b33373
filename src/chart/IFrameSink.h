#pragma once

#include <QImage>

#include "chart/ChartTypes.h"

namespace qm {

// The window a plot surface draws into: the chart view, a test or the command-line tool.
class IFrameSink {
public:
    virtual ~IFrameSink() = default;

    // Receives one finished frame, on the render thread. `area` is the part of `frame` that
    // belongs to the surface. The image is shared, not copied; keep it as long as needed. Must
    // not wait for the user-interface thread, which may be waiting for the render thread.
    virtual void PresentFrame(const QImage& frame, const PlotRect& area) = 0;
};

} // namespace qm
