#include "desktop/archive/ArchiveWindow.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QVBoxLayout>
#include <memory>
#include <set>

#include "archive/ArchiveSync.h"
#include "chart/TrendChart.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "desktop/archive/ArchiveCommands.h"
#include "desktop/frame/CMainFrame.h"
#include "desktop/limits/LimitProfiles.h"
#include "desktop/panes/CCompareDialog.h"
#include "desktop/panes/PaneTableView.h"

namespace qm {

namespace {

constexpr TrendQuantity kQuantities[] = {TrendQuantity::Level, TrendQuantity::Mer};

std::string OrDashes(const std::string& text) {
    return text.empty() ? "---" : text;
}

PaneTable SiteTable(const std::vector<SiteSummary>& sites) {
    PaneTable t;
    t.tag = "Sites";
    t.columns = {
        {Tr(txt::kSite), 3, 0}, {Tr(txt::kMeasurements), 4, 0}, {Tr(txt::kLastMeasured), 3, 0}};
    for (const SiteSummary& s : sites)
        t.rows.push_back({s.site, std::to_string(s.count), OrDashes(s.lastMeasured.substr(0, 10))});
    return t;
}

std::string KindText(int kind) {
    static const char* const kModels[] = {"7100Q/B", "7100T/D", "7100T2"};
    return kind >= 0 && kind < 3 ? kModels[kind] : std::to_string(kind);
}

PaneTable MeasurementTable(const std::vector<ArchivedMeasurement>& list) {
    PaneTable t;
    t.tag = "Measurements";
    t.columns = {{Tr(txt::kMeasured), 4, 0},
                 {Tr(txt::kMeterKind), 9, 0},
                 {Tr(txt::kAddedUTC), 4, 0},
                 {Tr(txt::kTechnician), 8, 0},
                 {Tr(txt::kSource), 4, 0}};
    for (const ArchivedMeasurement& m : list)
        t.rows.push_back(
            {OrDashes(m.entry.measuredAt.empty() ? m.entry.fileDate : m.entry.measuredAt),
             KindText(m.entry.kind), m.entry.addedAt, OrDashes(m.entry.technician),
             m.entry.source});
    return t;
}

qint64 SecondsOf(const std::string& measuredAt) {
    QDateTime t = QDateTime::fromString(QString::fromStdString(measuredAt),
                                        QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    t.setTimeSpec(Qt::UTC);
    return t.toSecsSinceEpoch();
}

} // namespace

ArchiveWindow::ArchiveWindow(std::string location, OpenFiles open, QWidget* parent)
    : QDialog(parent), m_location(std::move(location)), m_open(std::move(open)) {
    setObjectName("archiveWindow");
    setWindowTitle(Text(txt::kMeasurementArchive));
    PaintDialogBackground(this);
    auto* root = new QVBoxLayout(this);
    m_status = new QLabel(this);
    m_status->setObjectName("archiveStatus");
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    root->addWidget(m_status);

    auto* split = new QSplitter(Qt::Horizontal, this);
    m_siteTable = new PaneTableView(split);
    m_siteTable->setObjectName("archiveSites");
    auto* right = new QWidget(split);
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    m_measurementTable = new PaneTableView(right);
    m_measurementTable->setObjectName("archiveMeasurements");
    m_measurementTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    column->addWidget(m_measurementTable);
    auto* buttons = new QHBoxLayout;
    m_openButton = new QPushButton(Text(txt::kOpenInFileTree), right);
    m_openButton->setObjectName("archiveOpen");
    m_compareButton = new QPushButton(Text(txt::kCompare), right);
    m_compareButton->setObjectName("archiveCompare");
    auto* refresh = new QPushButton(Text(txt::kRefresh), right);
    buttons->addWidget(m_openButton);
    buttons->addWidget(m_compareButton);
    buttons->addStretch(1);
    buttons->addWidget(refresh);
    column->addLayout(buttons);
    split->addWidget(m_siteTable);
    split->addWidget(right);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 7);
    root->addWidget(split, 3);

    auto* trendRow = new QHBoxLayout;
    trendRow->addWidget(new QLabel(Text(txt::kChannelColon), this));
    m_channel = new QComboBox(this);
    m_channel->setObjectName("archiveChannel");
    m_channel->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    trendRow->addWidget(m_channel);
    m_quantity = new QComboBox(this);
    m_quantity->setObjectName("archiveQuantity");
    m_quantity->addItems({Text(txt::kArchiveLevel), QStringLiteral("MER")});
    trendRow->addWidget(m_quantity);
    trendRow->addStretch(1);
    root->addLayout(trendRow);
    m_chart = new QLabel(this);
    m_chart->setObjectName("archiveTrendChart");
    m_chart->setMinimumSize(480, 220);
    m_chart->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    root->addWidget(m_chart, 3);

    connect(m_siteTable, &QTableWidget::itemSelectionChanged, this, [this] {
        const auto rows = m_siteTable->selectionModel()->selectedRows();
        if (!rows.empty())
            SelectSite(rows.front().row());
    });
    connect(m_measurementTable, &QTableWidget::itemSelectionChanged, this, [this] {
        const std::size_t n = SelectedRows().size();
        m_openButton->setEnabled(n > 0);
        m_compareButton->setEnabled(n == 2);
    });
    connect(m_measurementTable, &QTableWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
    connect(m_openButton, &QPushButton::clicked, this, [this] { OpenSelected(); });
    connect(m_compareButton, &QPushButton::clicked, this, [this] { CompareSelected(); });
    connect(refresh, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(m_channel, &QComboBox::activated, this, [this](int i) { SetChannel(i); });
    connect(m_quantity, &QComboBox::activated, this, [this](int i) { SetQuantity(i); });
    connect(&LimitProfiles::Instance(), &LimitProfiles::Changed, this, [this] { LoadTrend(); });
    m_openButton->setEnabled(false);
    m_compareButton->setEnabled(false);
    // Queries take milliseconds: the window stays usable, and they run in the order asked.
    m_runner = new OperationRunner(this);
    connect(m_runner, &OperationRunner::Finished, this, &ArchiveWindow::RunNextQuery);
    resize(1100, 760);
    Refresh();
}

ArchiveWindow::~ArchiveWindow() = default;

void ArchiveWindow::Query(std::function<ArchiveResult(Archive&)> job,
                          std::function<void(bool ok)> then) {
    m_queries.push_back({std::move(job), std::move(then)});
    if (!m_runner->Busy())
        RunNextQuery();
}

void ArchiveWindow::RunNextQuery() {
    if (m_queries.empty() || m_runner->Busy())
        return;
    PendingQuery query = std::move(m_queries.front());
    m_queries.pop_front();
    m_runner->Start<ArchiveResult>(
        [this, job = std::move(query.job)](const ProgressFn&) {
            // Only the worker touches the archive while a query runs.
            if (!m_archive) {
                const ArchiveResult opened = OpenArchive(m_location, m_archive);
                if (!opened.Ok())
                    return opened;
            }
            return job(*m_archive);
        },
        [this, then = std::move(query.then)](ArchiveResult result) {
            m_failure = result.Ok() ? QString() : ArchiveFailureText(result);
            if (!result.Ok() && result.status != ArchiveStatus::Failed)
                m_archive.reset(); // a later query opens it again
            m_status->setText(m_failure.isEmpty()
                                  ? Text(txt::kArchiveAt).arg(QString::fromStdString(m_location))
                                  : m_failure);
            if (then)
                then(result.Ok());
        });
}

void ArchiveWindow::Refresh() {
    auto sites = std::make_shared<std::vector<SiteSummary>>();
    Query([sites](Archive& a) { return a.Sites(*sites); },
          [this, sites](bool ok) {
              if (ok)
                  m_sites = std::move(*sites);
              else
                  m_sites.clear();
              ShowSites();
          });
}

void ArchiveWindow::ShowSites() {
    const QSignalBlocker block(m_siteTable);
    m_siteTable->Show(SiteTable(m_sites));
    int row = -1;
    for (std::size_t i = 0; i < m_sites.size(); ++i)
        if (m_sites[i].site == m_site)
            row = static_cast<int>(i);
    if (row < 0 && !m_sites.empty())
        row = 0;
    if (row >= 0)
        m_siteTable->selectRow(row);
    m_site = row >= 0 ? m_sites[static_cast<std::size_t>(row)].site : std::string();
    LoadSite();
}

void ArchiveWindow::SelectSite(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_sites.size())
        return;
    if (m_siteTable->currentRow() != row) {
        const QSignalBlocker block(m_siteTable);
        m_siteTable->selectRow(row);
    }
    m_site = m_sites[static_cast<std::size_t>(row)].site;
    LoadSite();
}

void ArchiveWindow::LoadSite() {
    m_measurements.clear();
    m_channels.clear();
    if (m_site.empty()) {
        ShowSite({});
        return;
    }
    auto list = std::make_shared<std::vector<ArchivedMeasurement>>();
    auto latest = std::make_shared<std::vector<_tagFileDataExt>>();
    Query(
        [site = m_site, list, latest](Archive& a) {
            ArchiveResult r = a.List({site, "", "", {}}, *list);
            if (r.Ok() && !list->empty())
                r = LoadArchivedElements(a, {list->back().entry.hash}, *latest);
            return r;
        },
        [this, list, latest](bool) {
            m_measurements = std::move(*list);
            ShowSite(*latest);
        });
}

void ArchiveWindow::ShowSite(const std::vector<_tagFileDataExt>& latest) {
    m_measurementTable->Show(MeasurementTable(m_measurements));
    m_measurementTable->scrollToBottom();
    // The channels of the latest measurement, by frequency.
    const QString before = m_channel->currentText();
    m_channel->clear();
    m_channels.clear();
    if (!latest.empty())
        m_channels = MakeArchiveItem(latest[0], {}, {}).channels;
    for (const ArchivedChannel& c : m_channels)
        m_channel->addItem(QStringLiteral("%1 MHz  CH %2  %3")
                               .arg(c.frequency / 100.0, 0, 'f', 2)
                               .arg(c.channel)
                               .arg(QString::fromStdString(c.type)));
    const int again = m_channel->findText(before);
    m_channel->setCurrentIndex(again >= 0 ? again : 0);
    LoadTrend();
}

void ArchiveWindow::SetChannel(int index) {
    m_channel->setCurrentIndex(index);
    LoadTrend();
}

void ArchiveWindow::SetQuantity(int index) {
    m_quantity->setCurrentIndex(index);
    LoadTrend();
}

void ArchiveWindow::LoadTrend() {
    m_trend.clear();
    m_bounds = {};
    const int i = m_channel->currentIndex();
    if (i < 0 || static_cast<std::size_t>(i) >= m_channels.size()) {
        RenderChart();
        return;
    }
    const std::uint32_t frequency = m_channels[static_cast<std::size_t>(i)].frequency;
    const TrendQuantity quantity = kQuantities[std::max(0, m_quantity->currentIndex())];
    auto trend = std::make_shared<std::vector<TrendPoint>>();
    auto latest = std::make_shared<std::vector<_tagFileDataExt>>();
    Query(
        [site = m_site, frequency, quantity, trend, latest](Archive& a) {
            ArchiveResult r = ArchiveTrend(a, site, frequency, quantity, *trend);
            if (r.Ok() && !trend->empty())
                r = LoadArchivedElements(a, {trend->back().measurement.entry.hash}, *latest);
            return r;
        },
        [this, frequency, quantity, trend, latest](bool) {
            m_trend = std::move(*trend);
            if (const LimitProfile* profile = LimitProfiles::Instance().Active();
                profile && !latest->empty())
                m_bounds = TrendLimits((*latest)[0], frequency, quantity, *profile);
            RenderChart();
        });
}

void ArchiveWindow::RenderChart() {
    TrendChartData chart;
    const int i = m_channel->currentIndex();
    chart.title = QString::fromStdString(m_site) + QStringLiteral("   ") +
                  m_channel->currentText() + QStringLiteral("   ") + m_quantity->currentText();
    chart.unit = QStringLiteral("dB");
    chart.emptyText = Text(i < 0 ? txt::kNoMeasurementInArchive : txt::kNoValueThisChannel);
    for (const TrendPoint& p : m_trend)
        if (p.value && !p.measurement.entry.measuredAt.empty())
            chart.points.push_back({SecondsOf(p.measurement.entry.measuredAt), *p.value});
    chart.low = m_bounds.low;
    chart.high = m_bounds.high;
    if (chart.low)
        chart.lowLabel = Text(txt::kMinBound).arg(*chart.low, 0, 'f', 1);
    if (chart.high)
        chart.highLabel = Text(txt::kMaxBound).arg(*chart.high, 0, 'f', 1);
    m_image = DrawTrendChart(chart, m_chart->size());
    m_chart->setPixmap(QPixmap::fromImage(m_image));
}

void ArchiveWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    RenderChart();
}

std::vector<int> ArchiveWindow::SelectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& index : m_measurementTable->selectionModel()->selectedRows())
        rows.insert(index.row());
    return {rows.begin(), rows.end()};
}

void ArchiveWindow::SelectMeasurements(const std::vector<int>& rows) {
    m_measurementTable->clearSelection();
    for (const int row : rows)
        m_measurementTable->selectionModel()->select(m_measurementTable->model()->index(row, 0),
                                                     QItemSelectionModel::Select |
                                                         QItemSelectionModel::Rows);
}

void ArchiveWindow::WithSelected(std::function<void(std::vector<_tagFileDataExt>)> use) {
    std::vector<std::string> hashes;
    for (const int row : SelectedRows())
        if (static_cast<std::size_t>(row) < m_measurements.size())
            hashes.push_back(m_measurements[static_cast<std::size_t>(row)].entry.hash);
    if (hashes.empty())
        return;
    auto elements = std::make_shared<std::vector<_tagFileDataExt>>();
    Query([hashes, elements](Archive& a) { return LoadArchivedElements(a, hashes, *elements); },
          [elements, use = std::move(use)](bool ok) {
              if (ok && !elements->empty())
                  use(std::move(*elements));
          });
}

void ArchiveWindow::OpenSelected() {
    WithSelected([this](std::vector<_tagFileDataExt> elements) {
        if (m_open)
            m_open(std::move(elements));
    });
}

void ArchiveWindow::CompareSelected() {
    WithSelected([this](std::vector<_tagFileDataExt> elements) {
        if (elements.size() == 2)
            OpenCompareDialog(parentWidget() ? parentWidget() : this, elements[0], elements[1]);
    });
}

void OpenArchiveWindow(QWidget* frame) {
    static QPointer<ArchiveWindow> open;
    if (!open) {
        auto* main = qobject_cast<CMainFrame*>(frame);
        open = new ArchiveWindow(
            DesktopArchiveLocation(),
            [main](std::vector<_tagFileDataExt> elements) {
                // Added to what is loaded: nothing the user has not saved is lost.
                for (const _tagFileDataExt& e : elements)
                    CLevantoApp::Instance().Files().Append(e);
                if (main)
                    main->RebuildFileTree();
            },
            frame);
        open->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        open->Refresh();
    }
    open->show();
    open->raise();
    open->activateWindow();
}

} // namespace qm
