#pragma once

#include <QString>
#include <functional>
#include <string>

#include "report/AcceptanceReport.h"

class QComboBox;
class QWidget;

namespace qm {

class CRibbonBar;

// The ribbon's limit panel: the profile chooser (none, the shipped profile, the user's
// profiles, another file...) and the Report command.
void AddLimitPanel(CRibbonBar& ribbon, QWidget* window);

// The Report command: asks for the report's details, then writes the acceptance report of
// every loaded file by the active profile (the shipped one when none is active) to a file
// the user names.
void WriteReportCommand(QWidget* window);
// The report with these details, to a file the user names; a failure is told once the
// report has ended.
void WriteReportFile(QWidget* window, const ReportDetails& details);
// Starts the report on a worker thread while a progress dialog with a Cancel shows how far
// it is, and returns at once; a cancelled or failed report leaves no file. done gets whether
// it was written and, when not, the reason (empty when the user cancelled).
void WriteReportOnWorker(QWidget* window, const ReportInput& input, const std::string& path,
                         std::function<void(bool written, const std::string& error)> done);

// Picks the chooser's entry at index as the active profile; a faulty file is reported and
// the previous choice stays.
void ChooseProfile(QComboBox& chooser, int index, QWidget* window);

} // namespace qm
