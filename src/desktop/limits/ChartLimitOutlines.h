#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

namespace qm {

class CAnalysisDialog;
class CChartHolder;
class CInstrument;

// Outlines the failing channels' bars in the chart view with the verdicts the open pane
// reached (the pane judges once; the chart only shows it), drawn again at once when they change.
class ChartLimitOutlines : public QObject {
    Q_OBJECT
public:
    ChartLimitOutlines(CChartHolder& holder, QObject* parent);

    // The chart just installed goes with this pane; the pane's verdicts so far are outlined.
    void Follow(CAnalysisDialog* dialog);

private:
    void Apply(const std::vector<int>& bars);

    CChartHolder& m_holder;
    const CInstrument* m_chart = nullptr;
    QPointer<CAnalysisDialog> m_dialog;
    QMetaObject::Connection m_connection;
};

} // namespace qm
