#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "chart/CInstrument.h"
#include "measurement/FileDataExt.h"
#include "measurement/Section.h"

namespace qm {

class IMessageSink;

// The one way from a section and a file to a chart: a controller installed in a view, or a
// picture of one frame.

// Tilt, scan, spectrum and limit have a chart; level and hum none.
bool HasChart(PaneSection section);

// A new controller for the section with its kind name set, not yet created; the null
// controller for a section without a chart, or for none.
std::unique_ptr<CInstrument> MakeChart(std::optional<PaneSection> section);

// Hands the chart the file and the texts that go with it.
void ShowOnChart(CInstrument& chart, const _tagFileDataExt& file);

// What a picture shows besides the file.
struct ChartPictureOptions {
    std::optional<int> marker;        // marker 0's point; the first point without
    std::vector<int> outlinedBars;    // bars of failing channels
    IMessageSink* messages = nullptr; // where the chart's message boxes go; dropped without
    ChartStyle style = ChartStyle::Classic;
};

// One frame of the section's chart of the file, width x height pixels; a null picture for a
// section without a chart.
QImage RenderSectionChart(PaneSection section, const _tagFileDataExt& file, int width, int height,
                          const ChartPictureOptions& options = {});

// Two files in one chart: A's spectrum with B's under it, or the scans of both over the
// frequencies either scanned (a channel one file lacks is a gap in its line). Any section but
// the spectrum draws the scans. Labels name the lines in the legend.
QImage RenderComparisonChart(PaneSection section, const _tagFileDataExt& a,
                             const _tagFileDataExt& b, const QString& labelA, const QString& labelB,
                             int width, int height, ChartStyle style = ChartStyle::Classic);

} // namespace qm
