#include "desktop/limits/ChartLimitOutlines.h"

#include "desktop/frame/CChartHolder.h"
#include "desktop/limits/LimitProfiles.h"
#include "report/AcceptanceReport.h"

namespace qm {

ChartLimitOutlines::ChartLimitOutlines(CChartHolder& holder, QObject* parent)
    : QObject(parent), m_holder(holder) {
    connect(&LimitProfiles::Instance(), &LimitProfiles::Changed, this, [this] {
        Apply();
        m_holder.DrawNow();
    });
}

void ChartLimitOutlines::Track(const _tagFileDataExt& element, int sectionValue) {
    m_chart = m_holder.Current();
    m_element = element;
    m_section = sectionValue;
    Apply();
}

void ChartLimitOutlines::Apply() {
    CInstrument* chart = m_holder.Current();
    // Another chart (or none) took the view's place since: nothing of ours to redraw.
    if (!chart || chart != m_chart)
        return;
    OutlineFailingBars(*chart, m_element, m_section, LimitProfiles::Instance().Active());
}

} // namespace qm
