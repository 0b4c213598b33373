#pragma once

#include "chart/CInstrument.h"
#include "chart/ChartConversion.h"
#include "chart/SpectrumOverlay.h"

namespace qm {

// The spectrum chart: the spectrum trace and, when recorded, the MAX trace as lines, with the
// numeric level scale.
class CSpecAnalyzer final : public CInstrument {
public:
    CSpecAnalyzer() = default;
    ~CSpecAnalyzer() override;

    bool Create(IFrameSink* window, const PlotRect& windowRect) override;
    void Resize(int left, int top, int right, int bottom) override;
    int RefreshTexts() override;
    int SetKindName() override;
    void SetData(const _tagFileDataExt& measurement) override;
    void OnDrag(int x, int y) override;
    QImage DrawFrame() override;
    int MarkerPointCount() const override { return PointCount(); }

    // A line of this chart's own under its trace (a comparison's second file); while it
    // has none, the process-wide reference spectrum is drawn instead.
    void SetOverlay(SpectrumOverlay overlay) { m_overlay.Publish(std::move(overlay)); }

    // The point count N the marker moves over (0 before SetData).
    int PointCount() const;

protected:
    // Spectrum frames are drawn from the start, with or without traces.
    std::optional<std::uint64_t> DataGeneration() const override {
        // Sums of publication counts grow whenever any of them does.
        return m_traces.Generation().value_or(0) + m_overlay.Generation().value_or(0) +
               SpectrumReference().Generation().value_or(0);
    }

private:
    PlotDataSlot<SpectrumTraces> m_traces;
    PlotDataSlot<SpectrumOverlay> m_overlay;
};

} // namespace qm
