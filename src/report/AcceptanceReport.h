#pragma once

#include <string>
#include <vector>

#include "chart/ChartTypes.h"
#include "limits/LimitProfile.h"
#include "measurement/FileDataExt.h"

class QPageSize;

namespace qm {

// What an acceptance report covers: measurement files judged by one profile.
struct ReportInput {
    std::vector<_tagFileDataExt> files; // one chapter each, in order
    std::vector<bool> incomplete;       // per file, may be shorter: read from a cut file
    LimitProfile profile;
    std::string projectName; // shown in every header; may be empty
    int languageBase = 500;
    ChartStyle chartStyle = ChartStyle::Classic;
};

// The report as one HTML document. Chart pictures are PNG data URIs when embedPictures is
// set; otherwise they are named "chart:FILE/SECTION" for a QTextDocument resource.
std::string ReportHtml(const ReportInput& input, bool embedPictures);

// Writes the report to path: a PDF for ".pdf", an HTML file with its pictures inside for
// ".html"/".htm" (any letter case). The file is replaced whole or not at all; false with
// the reason in error. Needs a QGuiApplication.
bool WriteReport(const ReportInput& input, const std::string& path, std::string& error);

// A4, or Letter where the locale's country uses it (United States, Canada, Mexico, ...).
QPageSize ReportPageSize(const std::string& localeName);

} // namespace qm
