#pragma once

#include "chart/CInstrument.h"

namespace qm {

// The null chart controller: active whenever no chart is shown; draws nothing.
class CEndAnalyzer final : public CInstrument {
public:
    CEndAnalyzer() = default;
    ~CEndAnalyzer() override;

    bool Create(IFrameSink* window, const PlotRect& windowRect) override;
    void Resize(int left, int top, int right, int bottom) override;
    int RefreshTexts() override { return 1; }
    int SetKindName() override;
    void SetData(const _tagFileDataExt& measurement) override;
    void OnDrag(int x, int y) override;
    QImage DrawFrame() override { return {}; }

protected:
    std::optional<std::uint64_t> DataGeneration() const override { return std::nullopt; }
};

} // namespace qm
