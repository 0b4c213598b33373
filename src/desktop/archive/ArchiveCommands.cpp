#include "desktop/archive/ArchiveCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QIcon>

#include "app/Settings.h"
#include "archive/ArchiveSettings.h"
#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "desktop/Prompt.h"
#include "desktop/UserStore.h"
#include "desktop/archive/ArchiveWindow.h"
#include "desktop/frame/CMainFrame.h"
#include "desktop/frame/CRibbonBar.h"
#include "res/StringTable.h"

namespace qm {

namespace {

constexpr const char* kKeepUploadsKey = "Archive/KeepUploads";

} // namespace

std::string DesktopArchiveLocation() {
    return ChosenArchive({}, Settings());
}

bool KeepsUploads() {
    return UserStore().value(kKeepUploadsKey, true).toBool();
}

void SetKeepsUploads(bool keep) {
    UserStore().setValue(kKeepUploadsKey, keep);
}

QString ArchiveFailureText(const ArchiveResult& result) {
    QString text = QString::fromStdString(ArchiveStatusText(result.status, LanguageBase()));
    if (!result.reason.empty())
        text += QStringLiteral(": ") + QString::fromStdString(result.reason);
    return text;
}

void KeepUploadInArchive(QWidget* window, const std::vector<_tagFileDataExt>& files) {
    if (!KeepsUploads() || files.empty())
        return;
    const Settings settings;
    const std::string location = ChosenArchive({}, settings);
    const std::string technician = Technician(settings);
    // The window stays open until the files are in.
    auto* runner = new OperationRunner(window);
    runner->Start<ArchiveResult>(
        [location, technician, files](const ProgressFn&) {
            std::vector<ArchiveItem> items;
            for (const _tagFileDataExt& e : files)
                items.push_back(MakeArchiveItem(e, technician, "upload"));
            std::unique_ptr<Archive> archive;
            ArchiveResult r = OpenArchive(location, archive);
            AddCounts counts;
            if (r.Ok())
                r = archive->Add(items, counts);
            return r;
        },
        [window, runner](ArchiveResult result) {
            runner->deleteLater();
            if (!result.Ok())
                Prompt().ShowMessage(window, {MessageCaption(MessageKind::Error),
                                              Text(txt::kUploadLoadedButCouldNotKept),
                                              ArchiveFailureText(result), MessageKind::Error});
        });
}

void AddArchivePanel(CRibbonBar& ribbon, CMainFrame* frame) {
    const int panel = ribbon.AddPanel(Text(txt::kArchive));
    auto* open =
        new QAction(QIcon(QStringLiteral(":/icons/archive.svg")), Text(txt::kArchive), frame);
    open->setObjectName("archiveCommand");
    open->setToolTip(Text(txt::kMeasurementArchive));
    open->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_H), QKeySequence(Qt::ALT | Qt::Key_V)});
    QObject::connect(open, &QAction::triggered, frame, [frame] { OpenArchiveWindow(frame); });
    ribbon.AddButton(panel, open);
    auto* keep =
        new QAction(QIcon(QStringLiteral(":/icons/upload.svg")), Text(txt::kKeepUploads), frame);
    keep->setObjectName("keepUploadsCommand");
    keep->setToolTip(Text(txt::kKeepEveryUploadInArchive));
    keep->setCheckable(true);
    keep->setShortcut(QKeySequence(Qt::ALT | Qt::Key_K));
    keep->setChecked(KeepsUploads());
    QObject::connect(keep, &QAction::toggled, frame, [](bool on) { SetKeepsUploads(on); });
    ribbon.AddButton(panel, keep);
}

} // namespace qm
