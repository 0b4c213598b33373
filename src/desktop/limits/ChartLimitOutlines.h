#pragma once

#include <QObject>

#include "measurement/FileDataExt.h"

namespace qm {

class CChartHolder;
class CInstrument;

// Keeps the chart view's failing-channel outlines in step with the active profile: set when a
// chart is opened, drawn again at once when the profile changes.
class ChartLimitOutlines : public QObject {
    Q_OBJECT
public:
    ChartLimitOutlines(CChartHolder& holder, QObject* parent);

    // The chart just installed for the section shows this file.
    void Track(const _tagFileDataExt& element, int sectionValue);

private:
    void Apply();

    CChartHolder& m_holder;
    const CInstrument* m_chart = nullptr;
    _tagFileDataExt m_element{};
    int m_section = 0;
};

} // namespace qm
