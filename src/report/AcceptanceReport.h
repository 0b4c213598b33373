#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chart/ChartTypes.h"
#include "limits/LimitProfile.h"
#include "measurement/FileDataExt.h"
#include "report/ReportDetails.h"

class QPageSize;

namespace qm {

// What an acceptance report covers: measurement files judged by one profile.
struct ReportInput {
    std::vector<_tagFileDataExt> files; // one chapter each, in order
    std::vector<bool> incomplete;       // per file, may be shorter: read from a cut file
    LimitProfile profile;
    std::string profileSource; // the profile's file; empty for the one shipped with the program
    std::string projectName;   // shown in every header; may be empty
    ReportDetails details;     // with any of them, a first page that names them
    std::string date;          // the report's date on every page; today's when empty
    int languageBase = 500;
    ChartStyle chartStyle = ChartStyle::Classic;
};

// Told before each step of writing how many steps are done of how many; false stops the
// report, and nothing is written.
using ReportProgressFn = std::function<bool(int done, int total)>;

// The report as one HTML document, its pictures inside as PNG data URIs.
std::string ReportHtml(const ReportInput& input);

// Writes the report to path: a PDF for ".pdf", an HTML file with its pictures inside for
// ".html"/".htm" (any letter case). Every PDF page carries a header (logo, company, site,
// date) and a footer (project, page number). The file is replaced whole or not at all; false
// with the reason in error, also when progress stopped it. Needs a QGuiApplication; runs on
// any one thread.
bool WriteReport(const ReportInput& input, const std::string& path, std::string& error,
                 const ReportProgressFn& progress = {});

// A4, or Letter where the locale's country uses it (United States, Canada, Mexico, ...).
QPageSize ReportPageSize(const std::string& localeName);

} // namespace qm
