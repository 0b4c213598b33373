#include "desktop/panes/CChartPaneDialog.h"

#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "chart/ChartConversion.h"
#include "chart/ChartPicture.h"
#include "chart/SpectrumOverlay.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/Prompt.h"
#include "desktop/panes/PaneLayout.h"
#include "desktop/panes/PaneTableView.h"
#include "panes/PaneText.h"
#include "res/TextCodec.h"

namespace qm {

CChartPaneDialog::CChartPaneDialog(PaneSection section, QWidget* parent)
    : CPaneDialogBase(section, parent) {
    auto* root = new QHBoxLayout(this);
    KeepPaneGaps(*root);

    auto* printGroup = new QGroupBox(Text(txt::kPrint), this);
    printGroup->setObjectName("printGroup");
    auto* printLayout = new QVBoxLayout(printGroup);
    m_graphic = new QRadioButton(Text(txt::kGraphic), printGroup);
    m_graphic->setObjectName("graphicButton");
    m_file = new QRadioButton(Text(txt::kFile), printGroup);
    m_file->setObjectName("fileButton");
    auto* print = new QPushButton(Text(txt::kPrint), printGroup);
    print->setObjectName("printButton");
    printLayout->addWidget(m_graphic);
    printLayout->addWidget(m_file);
    printLayout->addWidget(print);
    printGroup->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    root->addWidget(printGroup, 0, Qt::AlignTop | Qt::AlignLeft);
    m_graphic->setChecked(true);
    connect(print, &QPushButton::clicked, this, &CChartPaneDialog::Print);
    // Beside the Print group, so that it keeps its size in a low pane.
    auto* extras = new QVBoxLayout;
    extras->addWidget(MakeSpreadsheetButton(this));
    root->addLayout(extras, 0);
    if (section == PaneSection::Spectrum) {
        auto* set = new QPushButton(Text(txt::kSetReference), this);
        set->setObjectName("setReferenceButton");
        auto* clear = new QPushButton(Text(txt::kClearReference), this);
        clear->setObjectName("clearReferenceButton");
        extras->addWidget(set);
        extras->addWidget(clear);
        connect(set, &QPushButton::clicked, this, &CChartPaneDialog::SetReference);
        connect(clear, &QPushButton::clicked, this, &CChartPaneDialog::ClearReference);
    }
    extras->addStretch(1);

    for (const PaneTable& table : Pane().Tables()) {
        auto* group = new QGroupBox(QString::fromStdString(table.title), this);
        group->setObjectName(QString::fromStdString(table.tag) + "Group");
        auto* inner = new QVBoxLayout(group);
        if (table.tag == "List")
            inner->addWidget(LimitSummary());
        inner->addWidget(MakeTableView(table.tag, group));
        if (table.tag == "List") {
            root->addWidget(group, 1);
        } else {
            group->setFixedWidth(DescriptionGroupWidth(*this, table.tag == "Parameters"));
            root->addWidget(group, 0);
        }
    }
}

int CChartPaneDialog::SaveMode() const {
    return m_file->isChecked() ? 1 : 0;
}

void CChartPaneDialog::Print() {
    if (SaveMode() == 0)
        SaveChartPicture();
    else
        ExportCsvFile();
}

void CChartPaneDialog::ShowFile(long index) {
    CPaneDialogBase::ShowFile(index);
    if (Pane().HasFile())
        m_shownIndex = index;
}

void CChartPaneDialog::SetReference() {
    const auto element =
        CLevantoApp::Instance().Files().At(static_cast<std::size_t>(std::max(m_shownIndex, 0L)));
    if (m_shownIndex < 0 || !element)
        return;
    const MeasurementFile file(*element);
    SpectrumOverlay reference;
    reference.values = SpectrumTracesOf(file).trace0;
    reference.label =
        Text(txt::kReference).arg(QString::fromStdString(AnsiToUtf8(file.FileName())));
    reference.baseLabel = Text(txt::kShown);
    SpectrumReference().Publish(std::move(reference));
}

void CChartPaneDialog::ClearReference() {
    SpectrumReference().Publish({});
}

void CChartPaneDialog::SaveChartPicture() {
    // The view hands over its own pixels, already clipped to its on-screen part: nothing is
    // read from the screen, so there is no need to wait for the dialog to disappear.
    const IChartPicture* source = CLevantoApp::Instance().ChartPicture();
    const QImage picture = source ? source->VisibleChartPicture() : QImage();
    if (picture.isNull()) {
        // A picture of nothing would be a grey file that looks like a saved chart.
        Prompt().ShowMessage(this, {MessageCaption(MessageKind::Error),
                                    Text(txt::kNoChartShownSoThereNo),
                                    {},
                                    MessageKind::Error});
        return;
    }
    const auto path = Prompt().SaveFileName(this, "*.bmp|*.bmp||", "bmp");
    if (!path)
        return;
    if (!qm::SaveChartPicture(picture, QFile::encodeName(*path).toStdString()))
        ReportWriteFailure(*path);
    else
        ReportWritten(*path, txt::kStatusSaved);
}

} // namespace qm
