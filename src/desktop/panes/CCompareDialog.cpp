#include "desktop/panes/CCompareDialog.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "app/FileTree.h"
#include "app/ProjectFile.h"
#include "chart/SectionChart.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/Prompt.h"
#include "desktop/frame/ChartStyleSetting.h"
#include "desktop/panes/PaneTableView.h"
#include "measurement/MeasurementFile.h"
#include "panes/MeasurementCompare.h"
#include "res/StringTable.h"
#include "res/TextCodec.h"

namespace qm {

namespace {

QString NameOf(const _tagFileDataExt& element, bool incomplete) {
    const MeasurementFile file(element);
    return QString::fromStdString(
        ShownName(AnsiToUtf8(file.HasLayout() ? file.FileName() : ""), incomplete, LanguageBase()));
}

bool IsCut(const std::vector<bool>& incomplete, std::size_t i) {
    return i < incomplete.size() && incomplete[i];
}

} // namespace

CCompareDialog::CCompareDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Text(txt::kCompareMeasurements));
    setObjectName("compareDialog");
    PaintDialogBackground(this);
    auto* root = new QVBoxLayout(this);
    auto* pick = new QGridLayout;
    const QString sides[2] = {QStringLiteral("A"), QStringLiteral("B")};
    for (int side = 0; side < 2; ++side) {
        m_files[side] = CLevantoApp::Instance().Files().Elements();
        m_incomplete[side] = CLevantoApp::Instance().Files().Incomplete();
        m_choice[side] = new QComboBox(this);
        m_choice[side]->setObjectName(side == 0 ? "fileA" : "fileB");
        m_choice[side]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        auto* open = new QPushButton(Text(txt::kOpenProject), this);
        open->setObjectName(side == 0 ? "openA" : "openB");
        pick->addWidget(new QLabel(sides[side] + QStringLiteral(":"), this), side, 0);
        pick->addWidget(m_choice[side], side, 1);
        pick->addWidget(open, side, 2);
        connect(open, &QPushButton::clicked, this, [this, side] { OpenProjectFor(side); });
        FillChoices(side);
        connect(m_choice[side], &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    }
    m_chartKind = new QComboBox(this);
    m_chartKind->setObjectName("chartKind");
    m_chartKind->addItems({Text(txt::kScan), Text(txt::kSpectrum)});
    pick->addWidget(new QLabel(Text(txt::kChart), this), 0, 3);
    pick->addWidget(m_chartKind, 0, 4);
    pick->setColumnStretch(5, 1);
    connect(m_chartKind, &QComboBox::currentIndexChanged, this, [this] { RenderChart(); });
    root->addLayout(pick);

    m_chart = new QLabel(this);
    m_chart->setObjectName("compareChart");
    m_chart->setMinimumSize(400, 220);
    m_chart->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    root->addWidget(m_chart, 3);
    m_filesTable = new PaneTableView(this);
    m_filesTable->setObjectName("Files");
    m_filesTable->setFixedHeight(m_filesTable->verticalHeader()->defaultSectionSize() * 4 + 30);
    root->addWidget(m_filesTable);
    m_channelsTable = new PaneTableView(this);
    m_channelsTable->setObjectName("Channels");
    root->addWidget(m_channelsTable, 2);
    if (m_files[1].size() > 1)
        m_choice[1]->setCurrentIndex(1);
    resize(1100, 760);
    Refresh();
}

void CCompareDialog::FillChoices(int side) {
    QSignalBlocker block(m_choice[side]);
    m_choice[side]->clear();
    for (std::size_t i = 0; i < m_files[side].size(); ++i)
        m_choice[side]->addItem(QStringLiteral("%1  %2").arg(i).arg(
            NameOf(m_files[side][i], IsCut(m_incomplete[side], i))));
}

void CCompareDialog::OpenProjectFor(int side) {
    const auto name = Prompt().OpenFileName(this, "*.f71|*.f71||", "f71");
    if (!name)
        return;
    const ProjectLoad load = LoadProject(QFile::encodeName(*name).toStdString());
    if (load.status != ProjectStatus::Ok) {
        Prompt().ShowMessage(this, {MessageCaption(MessageKind::Error),
                                    QString::fromStdString(ProjectStatusText(
                                        load.status, QFile::encodeName(*name).toStdString())),
                                    {},
                                    MessageKind::Error});
        return;
    }
    m_files[side] = load.elements;
    m_incomplete[side] = load.incomplete;
    FillChoices(side);
    Refresh();
}

void CCompareDialog::SelectFile(int side, int index) {
    m_choice[side]->setCurrentIndex(index);
}

void CCompareDialog::ShowPair(const _tagFileDataExt& a, const _tagFileDataExt& b) {
    m_files[0] = {a};
    m_files[1] = {b};
    m_incomplete[0].clear(); // kept whole in the archive
    m_incomplete[1].clear();
    FillChoices(0);
    FillChoices(1);
    m_choice[0]->setCurrentIndex(0);
    m_choice[1]->setCurrentIndex(0);
    Refresh();
}

void CCompareDialog::ShowSpectra(bool spectra) {
    m_chartKind->setCurrentIndex(spectra ? 1 : 0);
}

const _tagFileDataExt* CCompareDialog::Chosen(int side) const {
    const int i = m_choice[side]->currentIndex();
    if (i < 0 || static_cast<std::size_t>(i) >= m_files[side].size())
        return nullptr;
    return &m_files[side][static_cast<std::size_t>(i)];
}

void CCompareDialog::Refresh() {
    const _tagFileDataExt* a = Chosen(0);
    const _tagFileDataExt* b = Chosen(1);
    if (!a || !b) {
        m_filesTable->setRowCount(0);
        m_channelsTable->setRowCount(0);
    } else {
        const MeasurementCompare compare(
            *a, *b, IsCut(m_incomplete[0], static_cast<std::size_t>(m_choice[0]->currentIndex())),
            IsCut(m_incomplete[1], static_cast<std::size_t>(m_choice[1]->currentIndex())));
        m_filesTable->Show(compare.Files());
        m_channelsTable->Show(compare.Channels());
    }
    RenderChart();
}

void CCompareDialog::RenderChart() {
    const _tagFileDataExt* a = Chosen(0);
    const _tagFileDataExt* b = Chosen(1);
    m_image = QImage();
    if (a && b && m_chart->width() > 0 && m_chart->height() > 0)
        m_image = RenderComparisonChart(
            m_chartKind->currentIndex() == 1 ? PaneSection::Spectrum : PaneSection::Scan, *a, *b,
            QStringLiteral("A: ") + NameOf(*a, false), QStringLiteral("B: ") + NameOf(*b, false),
            m_chart->width(), m_chart->height(), StoredChartStyle());
    m_chart->setPixmap(QPixmap::fromImage(m_image));
}

void CCompareDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    RenderChart();
}

namespace {

CCompareDialog& TheCompareDialog(QWidget* parent) {
    static QPointer<CCompareDialog> open;
    if (!open) {
        open = new CCompareDialog(parent);
        open->setAttribute(Qt::WA_DeleteOnClose);
    }
    open->show();
    open->raise();
    open->activateWindow();
    return *open;
}

} // namespace

void OpenCompareDialog(QWidget* parent) {
    TheCompareDialog(parent);
}

void OpenCompareDialog(QWidget* parent, const _tagFileDataExt& a, const _tagFileDataExt& b) {
    TheCompareDialog(parent).ShowPair(a, b);
}

} // namespace qm
