#pragma once

#include <QDialog>
#include <vector>

#include "measurement/FileDataExt.h"

class QComboBox;
class QLabel;

namespace qm {

class PaneTableView;

// Two measurements side by side: each side picks a loaded file or a file from a project
// opened for that side only; the core's comparison tables below, and above them the two
// scans or spectra overlaid in one chart, the second in its own colour with a legend.
class CCompareDialog : public QDialog {
    Q_OBJECT
public:
    explicit CCompareDialog(QWidget* parent = nullptr);

    // Side 0 is A, 1 is B. Opens a project file for that side (asks for its name).
    void OpenProjectFor(int side);
    void SelectFile(int side, int index);
    // Sets one file on each side (two measurements from the archive).
    void ShowPair(const _tagFileDataExt& a, const _tagFileDataExt& b);
    // true: spectra, false: scans.
    void ShowSpectra(bool spectra);
    QImage ChartImage() const { return m_image; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillChoices(int side);
    void Refresh();
    void RenderChart();
    const _tagFileDataExt* Chosen(int side) const;

    std::vector<_tagFileDataExt> m_files[2];
    std::vector<bool> m_incomplete[2]; // per file of m_files: read from a cut project file
    QComboBox* m_choice[2] = {};
    QComboBox* m_chartKind = nullptr;
    QLabel* m_chart = nullptr;
    PaneTableView* m_filesTable = nullptr;
    PaneTableView* m_channelsTable = nullptr;
    QImage m_image;
};

// The Compare command: one dialog, raised when already open.
void OpenCompareDialog(QWidget* parent);
// The same dialog comparing a with b.
void OpenCompareDialog(QWidget* parent, const _tagFileDataExt& a, const _tagFileDataExt& b);

} // namespace qm
