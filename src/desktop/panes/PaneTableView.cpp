#include "desktop/panes/PaneTableView.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QStyledItemDelegate>
#include <algorithm>
#include <numeric>

#include "limits/LimitCheck.h"
#include "limits/LimitTexts.h"
#include "res/StringTable.h"

namespace qm {

namespace {

const QColor kFailBackground(249, 214, 219);
const QColor kFailText(176, 0, 32);

// Draws the cross before a failing cell's text, so that the mark does not depend on seeing
// colour; the text itself stays what the pane shows.
class VerdictDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = PaneTableView::ShownText(index);
    }
};

bool SameColumns(const std::vector<PaneColumn>& a, const std::vector<PaneColumn>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.title == y.title && x.widthDivisor == y.widthDivisor &&
               x.widthPixels == y.widthPixels;
    });
}

} // namespace

PaneTableView::PaneTableView(QWidget* parent) : QTableWidget(parent) {
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Nothing here is edited: Tab leaves the table instead of walking its cells.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    setItemDelegate(new VerdictDelegate(this));
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!m_applyingWidths)
            m_userSized = true;
    });
}

void PaneTableView::Show(const PaneTable& table) {
    if (!SameColumns(m_columns, table.columns)) {
        m_columns = table.columns;
        setColumnCount(static_cast<int>(m_columns.size()));
        QStringList titles;
        for (const PaneColumn& column : m_columns)
            titles << QString::fromStdString(column.title);
        setHorizontalHeaderLabels(titles);
        ApplyColumnWidths();
    }
    setRowCount(static_cast<int>(table.rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        const auto& cells = table.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columnCount(); ++c) {
            const auto index = static_cast<std::size_t>(c);
            auto* item = new QTableWidgetItem(
                index < cells.size() ? QString::fromStdString(cells[index]) : QString());
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
    }
}

QString PaneTableView::ShownText(const QModelIndex& index) {
    const QString text = index.data(Qt::DisplayRole).toString();
    const QVariant verdict = index.data(kVerdictRole);
    return verdict.isValid() && verdict.toInt() == static_cast<int>(Verdict::Fail)
               ? QString::fromUtf8(kFailMark) + text
               : text;
}

void PaneTableView::ShowVerdicts(const SectionCheck& check) {
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (QTableWidgetItem* cell = item(r, c); cell && cell->data(kVerdictRole).isValid()) {
                cell->setData(kVerdictRole, {});
                cell->setData(Qt::BackgroundRole, {});
                cell->setData(Qt::ForegroundRole, {});
                cell->setToolTip({});
            }
    const int base = LanguageBase();
    for (const ChannelCheck& channel : check.channels)
        for (const ValueCheck& v : channel.values) {
            QTableWidgetItem* cell =
                v.verdict == Verdict::Fail && v.column >= 0 ? item(channel.row, v.column) : nullptr;
            if (!cell)
                continue;
            const QString tip = QString::fromStdString(CellMarkText(v, base));
            if (cell->data(kVerdictRole).isValid()) {
                cell->setToolTip(cell->toolTip() + "\n" + tip);
                continue;
            }
            cell->setData(kVerdictRole, static_cast<int>(Verdict::Fail));
            cell->setBackground(kFailBackground);
            cell->setForeground(kFailText);
            cell->setToolTip(tip);
        }
}

void PaneTableView::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    if (!m_userSized)
        ApplyColumnWidths();
}

void PaneTableView::ApplyColumnWidths() {
    const int width = viewport()->width();
    const QFontMetrics metrics = horizontalHeader()->fontMetrics();
    std::vector<int> widths, least;
    for (const PaneColumn& column : m_columns) {
        // A title is never cut: it takes what it needs from the neighbours' slack first, and
        // a table too narrow for all titles scrolls sideways.
        least.push_back(metrics.horizontalAdvance(QString::fromStdString(column.title)) + 10);
        widths.push_back(std::max(least.back(), column.widthPixels > 0
                                                    ? column.widthPixels
                                                    : width / std::max(1, column.widthDivisor)));
    }
    int excess = std::accumulate(widths.begin(), widths.end(), 0) - width;
    for (std::size_t i = 0; i < widths.size() && excess > 0; ++i) {
        if (m_columns[i].widthPixels > 0)
            continue;
        const int take = std::min(excess, widths[i] - least[i]);
        widths[i] -= take;
        excess -= take;
    }
    m_applyingWidths = true;
    for (std::size_t i = 0; i < widths.size(); ++i)
        setColumnWidth(static_cast<int>(i), widths[i]);
    m_applyingWidths = false;
}

} // namespace qm
