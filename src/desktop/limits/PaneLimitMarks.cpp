#include "desktop/limits/PaneLimitMarks.h"

#include <QLabel>
#include <QTableWidget>

#include "desktop/limits/LimitProfiles.h"
#include "limits/LimitCheck.h"
#include "limits/LimitTexts.h"
#include "res/StringTable.h"

namespace qm {

namespace {

const QColor kFailBackground(249, 214, 219);
const QColor kFailText(176, 0, 32);
const QString kCross = QString::fromUtf8("\u2717 ");

} // namespace

bool SectionShowsVerdicts(PaneSection section) {
    return section == PaneSection::Level || section == PaneSection::Tilt ||
           section == PaneSection::Scan || section == PaneSection::Limit;
}

PaneLimitMarks::PaneLimitMarks(PaneSection section, QWidget* parent)
    : QObject(parent), m_section(section), m_summary(new QLabel(parent)) {
    m_summary->setObjectName("limitSummary");
    m_summary->hide();
    connect(&LimitProfiles::Instance(), &LimitProfiles::Changed, this, &PaneLimitMarks::Refresh);
}

void PaneLimitMarks::FileShown(const _tagFileDataExt& element) {
    m_element = element;
    m_hasFile = true;
    Refresh();
}

void PaneLimitMarks::Refresh() {
    const LimitProfile* profile = LimitProfiles::Instance().Active();
    if (!m_table || !SectionShowsVerdicts(m_section))
        return;
    // Undo earlier marks: the table keeps its texts between profile changes.
    for (int r = 0; r < m_table->rowCount(); ++r)
        for (int c = 0; c < m_table->columnCount(); ++c)
            if (QTableWidgetItem* item = m_table->item(r, c);
                item && item->data(Qt::UserRole).toBool()) {
                item->setText(item->text().mid(kCross.size()));
                item->setData(Qt::BackgroundRole, {});
                item->setData(Qt::ForegroundRole, {});
                item->setToolTip({});
                item->setData(Qt::UserRole, false);
            }
    if (!profile || !m_hasFile) {
        m_summary->hide();
        return;
    }
    const SectionCheck check = CheckSection(MeasurementFile(m_element), *profile, m_section);
    const int base = LanguageBase();
    for (const ChannelCheck& channel : check.channels) {
        for (const ValueCheck& v : channel.values) {
            if (v.verdict != Verdict::Fail || v.column < 0)
                continue;
            QTableWidgetItem* item = m_table->item(channel.row, v.column);
            if (!item)
                continue;
            const QString tip = QStringLiteral("%1: %2  %3  %4")
                                    .arg(QString::fromStdString(QuantityName(v.quantity, base)),
                                         QString::fromStdString(CheckValueText(v)),
                                         QString::fromStdString(v.limitText),
                                         QString::fromStdString(MarginText(v)));
            if (!item->data(Qt::UserRole).toBool()) {
                item->setText(kCross + item->text());
                item->setData(Qt::UserRole, true);
                item->setBackground(kFailBackground);
                item->setForeground(kFailText);
                item->setToolTip(tip);
            } else {
                item->setToolTip(item->toolTip() + "\n" + tip);
            }
        }
    }
    QString line = QString::fromStdString(
        SummaryLine(check.passCount, check.channelCount, check.worstMargin, base));
    for (const ValueCheck& v : check.fileValues)
        line +=
            QStringLiteral("; %1 %2 (%3): %4")
                .arg(QString::fromStdString(QuantityName(v.quantity, base)),
                     QString::fromStdString(CheckValueText(v)), QString::fromStdString(v.limitText),
                     QString::fromStdString(VerdictWord(v.verdict, base)));
    const bool fails = check.verdict == Verdict::Fail;
    m_summary->setText((fails ? kCross : QString::fromUtf8("\u2713 ")) + line);
    m_summary->setStyleSheet(fails ? "color: rgb(176,0,32); font-weight: bold;"
                                   : "color: rgb(27,110,32); font-weight: bold;");
    m_summary->setToolTip(QString::fromStdString(profile->name));
    m_summary->show();
}

} // namespace qm
