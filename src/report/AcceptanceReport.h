#pragma once

#include <string>
#include <vector>

#include "limits/LimitProfile.h"
#include "measurement/FileDataExt.h"

class QImage;
class QPageSize;

namespace qm {

class CInstrument;

// What an acceptance report covers: measurement files judged by one profile.
struct ReportInput {
    std::vector<_tagFileDataExt> files; // one chapter each, in order
    std::vector<bool> incomplete;       // per file, may be shorter: read from a cut file
    LimitProfile profile;
    std::string projectName; // shown in every header; may be empty
    int languageBase = 500;
};

// The report as one HTML document. Chart pictures are PNG data URIs when embedPictures is
// set; otherwise they are named "chart:FILE/SECTION" for a QTextDocument resource.
std::string ReportHtml(const ReportInput& input, bool embedPictures);

// Writes the report to path: a PDF for ".pdf", an HTML file with its pictures inside for
// ".html"/".htm" (any letter case). The file is replaced whole or not at all; false with
// the reason in error. Needs a QGuiApplication.
bool WriteReport(const ReportInput& input, const std::string& path, std::string& error);

// Outlines the bars of the channels that fail the profile in a chart showing the file;
// without a profile (nullptr) the chart draws no outlines, as before.
void OutlineFailingBars(CInstrument& chart, const _tagFileDataExt& file, int sectionValue,
                        const LimitProfile* profile);

// A4, or Letter where the locale's country uses it (United States, Canada, Mexico, ...).
QPageSize ReportPageSize(const std::string& localeName);

// The chart a pane section shows for a file, rendered at the size (the tilt, scan, spectrum
// and limit sections; a null picture for the others). With a profile, the bars of failing
// channels are outlined.
QImage RenderSectionChart(const _tagFileDataExt& file, int sectionValue, int width, int height,
                          const LimitProfile* profile = nullptr);

} // namespace qm
