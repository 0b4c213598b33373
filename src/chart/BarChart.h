#pragma once

#include <optional>
#include <string>

#include "chart/CInstrument.h"
#include "chart/ChartConversion.h"

namespace qm {

// What sets the tilt, scan and limit charts apart; everything else they share.
struct BarChartConfig {
    const char* kindName;
    int seriesStyle;                  // StyleChannelBars or StyleTiltBars
    std::optional<int> valueDecimals; // marker values; "%.3f" stays without
    bool yRangeAtCreate;              // the y range is set when created rather than with the data
    bool gridFromTexts;               // RefreshTexts sets nine columns and eleven rows
    // The bars of a file; a text for a message box when the file is refused.
    std::vector<ChannelBar> (*bars)(const MeasurementFile& file, std::string& refusal);
};

extern const BarChartConfig kTiltChart;  // one narrow bar per tilt channel and the tilt line
extern const BarChartConfig kScanChart;  // one wide bar per scanned channel
extern const BarChartConfig kLimitChart; // one wide bar per enabled channel with a limit record

// A bar chart: channel bars, analogue channels with their audio level, a marker on the bars.
class BarChart : public CInstrument {
public:
    explicit BarChart(const BarChartConfig& config) : m_config(config) {}
    ~BarChart() override;

    bool Create(IFrameSink* window, const PlotRect& windowRect) override;
    void Resize(int left, int top, int right, int bottom) override;
    int RefreshTexts() override;
    int SetKindName() override;
    void SetData(const _tagFileDataExt& measurement) override;
    void OnDrag(int x, int y) override;
    QImage DrawFrame() override;
    int MarkerPointCount() const override;

protected:
    std::optional<std::uint64_t> DataGeneration() const override { return m_bars.Generation(); }

private:
    const BarChartConfig& m_config;
    BarSlot m_bars;
};

// The three configurations under the names their charts go by.
class CTiltAnalyzer final : public BarChart {
public:
    CTiltAnalyzer() : BarChart(kTiltChart) {}
};
class CScanAnalyzer final : public BarChart {
public:
    CScanAnalyzer() : BarChart(kScanChart) {}
};
class CLimitAnalyzer final : public BarChart {
public:
    CLimitAnalyzer() : BarChart(kLimitChart) {}
};

} // namespace qm
