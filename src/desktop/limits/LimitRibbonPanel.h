#pragma once

#include <QString>
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
// The report with these details, to a file the user names; false when nothing was written.
bool WriteReportFile(QWidget* window, const ReportDetails& details);
// Writes the report on a worker thread while a progress dialog with a Cancel shows how far
// it is; a cancelled or failed report leaves no file. false with the reason in error, which
// is empty when the user cancelled.
bool WriteReportOnWorker(QWidget* window, const ReportInput& input, const std::string& path,
                         std::string& error);

// Picks the chooser's entry at index as the active profile; a faulty file is reported and
// the previous choice stays.
void ChooseProfile(QComboBox& chooser, int index, QWidget* window);

} // namespace qm
