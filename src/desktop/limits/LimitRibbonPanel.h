#pragma once

#include <QString>

class QComboBox;
class QWidget;

namespace qm {

class CRibbonBar;

// The ribbon's limit panel: the profile chooser (none, the shipped profile, the user's
// profiles, another file...) and the Report command.
void AddLimitPanel(CRibbonBar& ribbon, QWidget* window);

// Writes the acceptance report of every loaded file by the active profile (the shipped one
// when none is active) to a file the user names; false when nothing was written.
bool WriteReportCommand(QWidget* window);

// Picks the chooser's entry at index as the active profile; a faulty file is reported and
// the previous choice stays.
void ChooseProfile(QComboBox& chooser, int index, QWidget* window);

} // namespace qm
