#pragma once

#include <QDialog>
#include <QImage>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "archive/Archive.h"
#include "archive/ArchiveTrend.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace qm {

class OperationRunner;
class PaneTableView;

// The measurement archive: its sites with their measurement counts and last dates, a site's
// measurements by date (open any into the file tree, compare two), and the trend of one
// channel's level or MER over them with the active limit profile's bounds. Every query runs
// on a worker while the window stays painted.
class ArchiveWindow : public QDialog {
    Q_OBJECT
public:
    using OpenFiles = std::function<void(std::vector<_tagFileDataExt>)>;
    ArchiveWindow(std::string location, OpenFiles open, QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    // Reads the sites again (and the chosen site's measurements).
    void Refresh();
    void SelectSite(int row);
    void SelectMeasurements(const std::vector<int>& rows);
    void OpenSelected();
    void CompareSelected();
    // 0 level, 1 MER.
    void SetQuantity(int index);
    void SetChannel(int index);

    const std::vector<SiteSummary>& Sites() const { return m_sites; }
    const std::vector<ArchivedMeasurement>& Measurements() const { return m_measurements; }
    const std::vector<TrendPoint>& Trend() const { return m_trend; }
    QImage ChartImage() const { return m_image; }
    // The last failure in words, empty when the last query succeeded.
    const QString& Failure() const { return m_failure; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs job on a worker with the open archive (opened on first use), after the queries asked
    // before it; then gets whether it succeeded (a failure the window shows).
    void Query(std::function<ArchiveResult(Archive&)> job, std::function<void(bool ok)> then);
    void RunNextQuery();
    void ShowSites();
    void LoadSite();
    void ShowSite(const std::vector<_tagFileDataExt>& latest);
    void LoadTrend();
    void RenderChart();
    std::vector<int> SelectedRows() const;
    // The selected measurements read from the archive, for use (not called after a failure).
    void WithSelected(std::function<void(std::vector<_tagFileDataExt>)> use);

    struct PendingQuery {
        std::function<ArchiveResult(Archive&)> job;
        std::function<void(bool)> then;
    };

    std::string m_location;
    OpenFiles m_open;
    std::unique_ptr<Archive> m_archive;
    std::vector<SiteSummary> m_sites;
    std::string m_site;
    std::vector<ArchivedMeasurement> m_measurements;
    std::vector<ArchivedChannel> m_channels; // of the site's latest measurement
    std::vector<TrendPoint> m_trend;
    TrendBounds m_bounds;
    QString m_failure;
    QImage m_image;

    QLabel* m_status = nullptr;
    PaneTableView* m_siteTable = nullptr;
    PaneTableView* m_measurementTable = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_compareButton = nullptr;
    QComboBox* m_channel = nullptr;
    QComboBox* m_quantity = nullptr;
    QLabel* m_chart = nullptr;
    OperationRunner* m_runner = nullptr;
    std::deque<PendingQuery> m_queries;
};

// The Archive command: one window, raised when already open.
void OpenArchiveWindow(QWidget* frame);

} // namespace qm
