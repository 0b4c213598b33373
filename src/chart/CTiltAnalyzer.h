#pragma once

#include "chart/CInstrument.h"

namespace qm {

// The tilt chart: one narrow bar per tilt channel and the tilt line from the first to the last.
class CTiltAnalyzer final : public CInstrument {
public:
    CTiltAnalyzer() = default;
    ~CTiltAnalyzer() override;

    bool Create(IFrameSink* window, const PlotRect& windowRect) override;
    void Resize(int left, int top, int right, int bottom) override;
    int RefreshTexts() override;
    int SetKindName() override;
    void SetData(const _tagFileDataExt& measurement) override;
    void OnDrag(int x, int y) override;
    QImage DrawFrame() override;

protected:
    std::optional<std::uint64_t> DataGeneration() const override { return m_bars.Generation(); }

private:
    BarSlot m_bars;
};

} // namespace qm
