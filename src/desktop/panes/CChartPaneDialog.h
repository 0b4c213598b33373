#pragma once

#include "desktop/panes/CPaneDialogBase.h"

class QRadioButton;

namespace qm {

// The tilt, spectrum, scan and limit panes: the "Print" group at the top left (save mode
// "Graphic" or "File" and the "Print" button), then the "Parameters" and "Mark" groups at
// fixed widths, and the "List" group taking the rest of the width.
class CChartPaneDialog : public CPaneDialogBase {
    Q_OBJECT
public:
    CChartPaneDialog(PaneSection section, QWidget* parent);

    // 0 saves the chart picture, 1 the CSV export; every new pane starts at 0.
    int SaveMode() const;
    // "Print": the picture save or the CSV export, by the save mode.
    void Print();
    // Saves what the chart view shows as a BMP file.
    void SaveChartPicture();
    void ShowFile(long index) override;
    // Spectrum pane: keeps the spectrum shown as the reference every spectrum chart draws
    // under its own trace, or drops it.
    void SetReference();
    static void ClearReference();

private:
    QRadioButton* m_graphic = nullptr;
    QRadioButton* m_file = nullptr;
    long m_shownIndex = -1;
};

} // namespace qm
