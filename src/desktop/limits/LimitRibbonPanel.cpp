#include "desktop/limits/LimitRibbonPanel.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <atomic>
#include <memory>

#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "desktop/Prompt.h"
#include "desktop/StatusReport.h"
#include "desktop/frame/CRibbonBar.h"
#include "desktop/frame/ChartStyleSetting.h"
#include "desktop/limits/LimitProfiles.h"
#include "desktop/limits/ReportDetailsDialog.h"
#include "report/AcceptanceReport.h"
#include "res/StringTable.h"

namespace qm {

namespace {

// Chooser entries: what each item stands for.
enum EntryKind { kNone = 0, kShipped = 1, kUserFile = 2, kOtherFile = 3 };

// A sheet with a tick: the report command's icon, drawn so that it needs no resource file.
QIcon ReportIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 80, 120), 3));
    p.setBrush(Qt::white);
    p.drawRect(12, 4, 40, 54);
    p.setPen(QPen(QColor(150, 160, 180), 3));
    for (int y = 16; y <= 28; y += 6)
        p.drawLine(20, y, 44, y);
    p.setPen(QPen(QColor(27, 140, 40), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygon({QPoint(22, 42), QPoint(30, 50), QPoint(46, 34)}));
    return QIcon(pixmap);
}

QString Caption() {
    return MessageCaption(MessageKind::Error);
}

void FillChooser(QComboBox& chooser) {
    chooser.addItem(Text(txt::kNone), kNone);
    chooser.addItem(QString::fromStdString(DefaultProfile().ShownName(LanguageBase())), kShipped);
    for (const std::string& path : UserProfilePaths()) {
        const QString file = QString::fromStdString(path);
        chooser.addItem(QFileInfo(file).completeBaseName(), kUserFile);
        chooser.setItemData(chooser.count() - 1, file, Qt::ToolTipRole);
    }
    chooser.addItem(Text(txt::kOtherFile), kOtherFile);
}

// Marks the chooser's entry at index as the one in force.
void ShowChoice(QComboBox& chooser, int index) {
    chooser.setCurrentIndex(index);
    chooser.setProperty("activeIndex", index);
    chooser.setToolTip(LimitProfiles::Instance().Active()
                           ? QString::fromStdString(LimitProfiles::Instance().Active()->name)
                           : Text(txt::kNone));
}

// The entry of the profile already active (one restored at start); a file not among the
// user's profiles gets an entry of its own before "Other file...".
int EntryOfActive(QComboBox& chooser) {
    const QString& source = LimitProfiles::Instance().Source();
    if (!LimitProfiles::Instance().Active())
        return 0;
    if (source.isEmpty() || source == QLatin1String(kShippedSource))
        return 1;
    for (int i = 0; i < chooser.count(); ++i)
        if (chooser.itemData(i).toInt() == kUserFile &&
            chooser.itemData(i, Qt::ToolTipRole).toString() == source)
            return i;
    const int at = chooser.count() - 1;
    chooser.insertItem(at, QFileInfo(source).completeBaseName(), kUserFile);
    chooser.setItemData(at, source, Qt::ToolTipRole);
    return at;
}

} // namespace

void ChooseProfile(QComboBox& chooser, int index, QWidget* window) {
    const int kind = chooser.itemData(index).toInt();
    const int previous = chooser.property("activeIndex").toInt();
    if (kind == kNone) {
        LimitProfiles::Instance().SetActive(std::nullopt);
    } else if (kind == kShipped) {
        LimitProfiles::Instance().SetActive(DefaultProfile(), kShippedSource);
    } else {
        QString path = chooser.itemData(index, Qt::ToolTipRole).toString();
        if (kind == kOtherFile) {
            const auto chosen = Prompt().OpenFileName(window, "*.ini|*.ini||", "ini");
            if (!chosen) {
                const QSignalBlocker block(chooser);
                chooser.setCurrentIndex(previous);
                return;
            }
            path = *chosen;
        }
        const ProfileResult r = LoadLimitProfile(QFile::encodeName(path).toStdString());
        if (!r.profile) {
            Prompt().ShowMessage(window, {Caption(), Text(txt::kLimitProfileCannotUsed),
                                          QString::fromStdString(r.error), MessageKind::Error});
            const QSignalBlocker block(chooser);
            chooser.setCurrentIndex(previous);
            return;
        }
        LimitProfiles::Instance().SetActive(*r.profile, path);
    }
    RememberLimitProfile();
    ShowChoice(chooser, index);
}

void AddLimitPanel(CRibbonBar& ribbon, QWidget* window) {
    const int panel = ribbon.AddPanel(Text(txt::kLimits));
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(2, 4, 2, 0);
    auto* chooser = new QComboBox(box);
    chooser->setObjectName("limitProfileChooser");
    chooser->setAccessibleName(Text(txt::kLimitProfile));
    chooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    FillChooser(*chooser);
    ShowChoice(*chooser, EntryOfActive(*chooser));
    column->addWidget(chooser);
    column->addStretch(1);
    ribbon.AddWidget(panel, box);
    QObject::connect(chooser, &QComboBox::activated, window,
                     [chooser, window](int index) { ChooseProfile(*chooser, index, window); });

    auto* report = new QAction(ReportIcon(), Text(txt::kReport), window);
    report->setObjectName("reportAction");
    report->setToolTip(Text(txt::kAcceptanceReport));
    report->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_R), QKeySequence(Qt::ALT | Qt::Key_R)});
    QObject::connect(report, &QAction::triggered, window, [window] { WriteReportCommand(window); });
    ribbon.AddButton(panel, report);
}

void WriteReportCommand(QWidget* window) {
    if (CLevantoApp::Instance().Files().Elements().empty()) {
        Prompt().ShowMessage(
            window, {Caption(), Text(txt::kNoMeasurementFileLoaded), {}, MessageKind::Error});
        return;
    }
    auto* dialog = new ReportDetailsDialog(window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    QObject::connect(dialog, &QDialog::accepted, window,
                     [window, dialog] { WriteReportFile(window, dialog->Details()); });
    dialog->open();
}

void WriteReportFile(QWidget* window, const ReportDetails& details) {
    const auto path = Prompt().SaveFileName(window, "*.pdf|*.pdf|*.html|*.html||", "pdf");
    if (!path)
        return;
    ReportInput input;
    input.files = CLevantoApp::Instance().Files().Elements();
    input.incomplete = CLevantoApp::Instance().Files().Incomplete();
    input.profile = LimitProfiles::Instance().ForReport();
    const QString& source = LimitProfiles::Instance().Source();
    if (LimitProfiles::Instance().Active() && source != QLatin1String(kShippedSource))
        input.profileSource = QDir::toNativeSeparators(source).toStdString();
    input.projectName = QFileInfo(window->window()->windowFilePath()).fileName().toStdString();
    input.details = details;
    input.languageBase = LanguageBase();
    input.chartStyle = StoredChartStyle();
    WriteReportOnWorker(window, input, QFile::encodeName(*path).toStdString(),
                        [window](bool written, const std::string& error) {
                            if (written)
                                ReportDone(window, Text(txt::kStatusReportWritten));
                            else if (!error.empty())
                                Prompt().ShowMessage(
                                    window, {Caption(), Text(txt::kReportCouldNotWritten),
                                             QString::fromStdString(error), MessageKind::Error});
                        });
}

void WriteReportOnWorker(QWidget* window, const ReportInput& input, const std::string& path,
                         std::function<void(bool written, const std::string& error)> done) {
    // The window stays live and painted; only this dialog takes input meanwhile.
    auto* progress = new QDialog(window);
    progress->setObjectName("reportProgress");
    progress->setWindowTitle(Text(txt::kReport));
    progress->setWindowModality(Qt::WindowModal);
    auto* bar = new QProgressBar;
    auto* cancel = new QPushButton(Text(txt::kCancel));
    cancel->setObjectName("cancel");
    auto* column = new QVBoxLayout(progress);
    column->addWidget(new QLabel(Text(txt::kWritingReport)));
    column->addWidget(bar);
    column->addWidget(cancel, 0, Qt::AlignRight);
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    QObject::connect(cancel, &QPushButton::clicked, progress, [cancelled] { *cancelled = true; });
    auto* runner = new OperationRunner(progress);
    // Escape and closing stop the report too; the dialog goes once the worker has ended.
    runner->SetRefusedClose([cancelled] { *cancelled = true; });
    runner->SetProgress([bar](int written, int total) {
        bar->setMaximum(total);
        bar->setValue(written);
    });
    progress->show();
    using Outcome = std::pair<bool, std::string>;
    runner->Start<Outcome>(
        [input, path, cancelled](const ProgressFn& post) {
            std::string reason;
            const bool ok = WriteReport(input, path, reason, [&](int written, int total) {
                post(written, total);
                return !cancelled->load();
            });
            return Outcome{ok, reason};
        },
        [progress, cancelled, done = std::move(done)](Outcome outcome) {
            progress->hide();
            progress->deleteLater();
            // A report the user stopped is no failure to tell about.
            if (done)
                done(outcome.first, *cancelled ? std::string() : outcome.second);
        });
}

} // namespace qm
