#pragma once

#include <QImage>
#include <functional>

#include "app/FileCollection.h"
#include "channels/ChannelPlanList.h"
#include "link/cnComm.h"

namespace qm {

// What the chart view shows right now, clipped to its on-screen part (the panes' picture save);
// a null picture while it shows no chart.
class IChartPicture {
public:
    virtual ~IChartPicture() = default;
    virtual QImage VisibleChartPicture() const = 0;
};

// The application object's process-wide state: the loaded files, the channel plan list, the
// one serial port (destroyed last) and the chart view the panes save pictures of.
class CLevantoApp {
public:
    static CLevantoApp& Instance();

    CFileCollection& Files() { return m_files; }
    CChannelPlanList& Plans() { return TheChannelPlanList(); }
    cnComm& Port() { return m_port; }

    IChartPicture* ChartPicture() const { return m_chartPicture; }
    void SetChartPicture(IChartPicture* picture) { m_chartPicture = picture; }

private:
    // A Cancel in the windows is seen within this long even while the meter is silent.
    static constexpr int kStopCheckMs = 100;
    CLevantoApp() { m_port.Timings().stopCheckMs = kStopCheckMs; }

    cnComm m_port; // declared first: destroyed last, after everything that may use it
    CFileCollection m_files;
    IChartPicture* m_chartPicture = nullptr;
};

} // namespace qm
