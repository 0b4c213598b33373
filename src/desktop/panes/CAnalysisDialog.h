#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "panes/AnalysisPane.h"

namespace qm {

// The content of the analysis pane: one of the six pane dialogs. The main window creates it
// for a section, sends it the file to show once, and forwards the chart's marker moves.
class CAnalysisDialog : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual PaneSection Section() const = 0;
    // WM_SHOWFILE: index of the loaded file to show.
    virtual void ShowFile(long index) = 0;
    // WM_MARKERMOVED: the chart's marker position.
    virtual void MarkerMoved(long position) = 0;
    // The chart bars of the channels that fail the active profile, as last judged.
    virtual std::vector<int> FailingBars() const { return {}; }

signals:
    // The chart bars of the channels that fail the active profile, whenever judged again.
    void FailingBarsChanged(const std::vector<int>& bars);
};

// A new dialog for the section.
std::unique_ptr<CAnalysisDialog> CreateAnalysisDialog(PaneSection section,
                                                      QWidget* parent = nullptr);

} // namespace qm
