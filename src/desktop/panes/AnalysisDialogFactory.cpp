#include "desktop/panes/CAnalysisDialog.h"

namespace qm {

namespace {

// Stands in for the pane dialogs until they exist.
class PlaceholderDialog : public CAnalysisDialog {
public:
    PlaceholderDialog(PaneSection section, QWidget* parent)
        : CAnalysisDialog(parent), m_section(section) {}
    PaneSection Section() const override { return m_section; }
    void ShowFile(long) override {}
    void MarkerMoved(long) override {}

private:
    PaneSection m_section;
};

} // namespace

std::unique_ptr<CAnalysisDialog> CreateAnalysisDialog(PaneSection section, QWidget* parent) {
    return std::make_unique<PlaceholderDialog>(section, parent);
}

} // namespace qm
