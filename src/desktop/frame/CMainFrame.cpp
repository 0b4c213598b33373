#include "desktop/frame/CMainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>

#include "app/FileTree.h"
#include "app/ProjectFile.h"
#include "chart/SectionChart.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/Prompt.h"
#include "desktop/StatusReport.h"
#include "desktop/UserStore.h"
#include "desktop/channels/ChannelEditorEntry.h"
#include "desktop/frame/CBaseCtrlPane.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/frame/CDlgHelpAbout.h"
#include "desktop/frame/CDlgProgress.h"
#include "desktop/frame/CDlgSetCom.h"
#include "desktop/frame/CFileTreeView.h"
#include "desktop/frame/CLevantoView.h"
#include "desktop/frame/CRibbonBar.h"
#include "desktop/frame/ChartStyleSetting.h"
#include "desktop/frame/Looks.h"
#include "desktop/frame/WorkdeskStatusBar.h"
#include "desktop/limits/ChartLimitOutlines.h"
#ifdef QM_HAVE_ARCHIVE
#include "desktop/archive/ArchiveCommands.h"
#endif
#include "desktop/limits/LimitRibbonPanel.h"
#include "desktop/panes/CAnalysisDialog.h"
#include "desktop/panes/CCompareDialog.h"
#include "desktop/setup/SetupEntry.h"
#include "measurement/MeasurementFile.h"
#include "res/StringTable.h"
#include "res/TextCodec.h"

// The icons live in the static desktop library; the linker keeps them only when asked for.
static void InitDesktopResources() {
    Q_INIT_RESOURCE(desktop);
}

namespace qm {

namespace {

const QString kProjectFilter = QStringLiteral("*.f71|*.f71||");
const QString kProjectSuffix = QStringLiteral("f71");

bool IsChartSection(int itemValue) {
    return itemValue == kTreeTilt || itemValue == kTreeScan || itemValue == kTreeSpectrum ||
           itemValue == kTreeLimit;
}

struct CommandInfo {
    const char* icon;
    QKeySequence shortcut;
    // The Alt access key; the labels carry no mnemonic of their own (the Chinese ones none at
    // all), so the same letters serve both languages.
    Qt::Key accessKey;
};

const std::array<CommandInfo, RibbonTexts::CommandCount>& CommandInfos() {
    static const std::array<CommandInfo, RibbonTexts::CommandCount> infos{{
        {":/icons/upload.svg", QKeySequence(Qt::CTRL | Qt::Key_U), Qt::Key_U},
        {":/icons/open.svg", QKeySequence(QKeySequence::Open), Qt::Key_O},
        {":/icons/save.svg", QKeySequence(QKeySequence::Save), Qt::Key_S},
        {":/icons/connect.svg", QKeySequence(Qt::CTRL | Qt::Key_K), Qt::Key_C},
        {":/icons/channel-editor.svg", QKeySequence(Qt::CTRL | Qt::Key_E), Qt::Key_E},
        {":/icons/picture-capture.svg", QKeySequence(Qt::CTRL | Qt::Key_P), Qt::Key_P},
        {":/icons/time-unit.svg", QKeySequence(Qt::CTRL | Qt::Key_T), Qt::Key_T},
        {":/icons/about.svg", QKeySequence(QKeySequence::HelpContents), Qt::Key_A},
    }};
    return infos;
}

// The core says what failed; the project dialogs of old said nothing at all.
void ReportProjectFailure(QWidget* parent, ProjectStatus status, const std::string& path) {
    if (status != ProjectStatus::Ok)
        Prompt().ShowMessage(parent, {MessageCaption(MessageKind::Error),
                                      QString::fromStdString(ProjectStatusText(status, path)),
                                      {},
                                      MessageKind::Error});
}

// A project file cut short is read as far as it goes, and the user is told which files are
// incomplete (and how many it announced in vain).
void ReportDamagedProject(QWidget* parent, const ProjectLoad& load) {
    QStringList lines;
    for (std::size_t i = 0; i < load.elements.size(); ++i)
        if (load.incomplete[i])
            lines << QStringLiteral("%1  %2").arg(i).arg(QString::fromStdString(
                AnsiToUtf8(MeasurementFile(load.elements[i]).FileName(), LanguageBase())));
    QString text = Text(txt::kProjectFileCutShortShownAs);
    if (lines.isEmpty())
        text = Text(txt::kProjectFileCutShort);
    else
        text += QStringLiteral("\n") + lines.join(QStringLiteral("\n"));
    QString detail;
    if (load.MissingCount() > 0)
        detail = Text(txt::kMeasurementFilesAnnouncesAreMissing)
                     .arg(load.MissingCount())
                     .arg(load.announced);
    Prompt().ShowMessage(parent,
                         {MessageCaption(MessageKind::Error), text, detail, MessageKind::Error});
}

QString FileNameOf(const std::string& path) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

} // namespace

CMainFrame::CMainFrame() : CMainFrame(Options{}) {}

CMainFrame::CMainFrame(Options options) : m_options(std::move(options)) {
    InitDesktopResources();
    if (!m_options.makeDialog)
        m_options.makeDialog = [](PaneSection section, QWidget* parent) {
            return CreateAnalysisDialog(section, parent);
        };
    ApplyLook(StoredLook());
    BuildRibbon(MakeRibbonTexts(m_options.chineseRibbon));
    // The document title is always empty.
    setWindowTitle(QStringLiteral("QM7100 Workdesk -"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    m_status = new WorkdeskStatusBar(this);
    setStatusBar(m_status);
    m_status->ShowConnection(CLevantoApp::Instance().Port());
    BuildClientArea();
    m_holder->SetChartStyle(StoredChartStyle());
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    // No larger than the screen it opens on (a 1024 x 600 netbook).
    QSize size(1280, 800);
    if (const QScreen* shown = screen())
        size = size.boundedTo(shown->availableGeometry().size());
    resize(size);
}

CMainFrame::~CMainFrame() {
    CLevantoApp& app = CLevantoApp::Instance();
    if (app.ChartPicture() == m_view)
        app.SetChartPicture(nullptr);
    // The chart stops drawing before the view and the pane go.
    m_holder.reset();
}

void CMainFrame::BuildRibbon(const RibbonTexts& texts) {
    auto* appMenu = new QMenu(texts.category, this);
    appMenu->setTitle(texts.category);
    QAction* exit = appMenu->addAction(texts.exit);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    QMenu* style = appMenu->addMenu(texts.style);
    m_looks = new QActionGroup(this);
    m_looks->setExclusive(true);
    const int current = StoredLook();
    for (int look = kLookOffice2007Blue; look <= kLookWindows7; ++look) {
        QAction* action = style->addAction(LookLabel(look));
        action->setCheckable(true);
        action->setChecked(look == current);
        action->setData(look);
        m_looks->addAction(action);
        connect(action, &QAction::triggered, this, [this, look] { SetLook(look); });
    }
    QMenu* chartStyle = appMenu->addMenu(Text(txt::kChartStyleMenu));
    auto* chartStyles = new QActionGroup(this);
    chartStyles->setExclusive(true);
    const std::pair<ChartStyle, int> styles[] = {{ChartStyle::Classic, txt::kChartStyleClassic},
                                                 {ChartStyle::Clear, txt::kChartStyleClear}};
    for (const auto& [kind, label] : styles) {
        QAction* action = chartStyle->addAction(Text(label));
        action->setCheckable(true);
        action->setChecked(kind == StoredChartStyle());
        chartStyles->addAction(action);
        m_chartStyles[static_cast<std::size_t>(kind)] = action;
        connect(action, &QAction::triggered, this, [this, kind] { SetChartStyle(kind); });
    }
    QAction* about = appMenu->addAction(texts.appAbout);
    connect(about, &QAction::triggered, this, [this] { ShowAbout(false); });

    m_ribbon = new CRibbonBar(texts.category, appMenu, this);
    m_ribbon->ApplicationButton()->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F));

    const std::function<void()> handlers[RibbonTexts::CommandCount] = {
        [this] { Upload(); },
        [this] { OpenProject(); },
        [this] { SaveProject(); },
        [this] { ShowConnectDialog(); },
        [this] { OpenChannelEditorCommand(); },
        [this] { OpenPictureCaptureCommand(); },
        [this] { OpenTimeUnitCommand(); },
        [this] { ShowAbout(true); },
    };
    for (int i = 0; i < RibbonTexts::CommandCount; ++i) {
        const CommandInfo& info = CommandInfos()[i];
        auto* action = new QAction(QIcon(QString::fromLatin1(info.icon)), texts.labels[i], this);
        action->setShortcuts({info.shortcut, QKeySequence(Qt::ALT | info.accessKey)});
        connect(action, &QAction::triggered, this, handlers[i]);
        addAction(action);
        m_commands[i] = action;
    }
    const int file = m_ribbon->AddPanel(texts.panels[RibbonTexts::FilePanel]);
    const int connectPanel = m_ribbon->AddPanel(texts.panels[RibbonTexts::ConnectPanel]);
    const int operation = m_ribbon->AddPanel(texts.panels[RibbonTexts::OperationPanel]);
    const int set = m_ribbon->AddPanel(texts.panels[RibbonTexts::SetPanel]);
    const int help = m_ribbon->AddPanel(texts.panels[RibbonTexts::HelpPanel]);
    m_ribbon->AddButton(file, m_commands[RibbonTexts::Upload]);
    m_ribbon->AddButton(file, m_commands[RibbonTexts::Open]);
    m_ribbon->AddButton(file, m_commands[RibbonTexts::Save]);
    m_ribbon->AddButton(connectPanel, m_commands[RibbonTexts::Connect]);
    m_ribbon->AddButton(operation, m_commands[RibbonTexts::ChannelEditor]);
    m_ribbon->AddButton(operation, m_commands[RibbonTexts::PictureCapture]);
    auto* compare =
        new QAction(QIcon(QStringLiteral(":/icons/compare.svg")), Text(txt::kCompare), this);
    compare->setObjectName("compareCommand");
    compare->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_M), QKeySequence(Qt::ALT | Qt::Key_M)});
    addAction(compare);
    connect(compare, &QAction::triggered, this, [this] { OpenCompareDialog(this); });
    m_ribbon->AddButton(operation, compare);
    m_ribbon->AddButton(set, m_commands[RibbonTexts::TimeUnit]);
    m_ribbon->AddButton(help, m_commands[RibbonTexts::About]);
    AddLimitPanel(*m_ribbon, this);
    // F6 and Shift+F6 go round the three areas: file tree, chart, pane.
    auto* nextArea = new QAction(this);
    nextArea->setShortcut(QKeySequence(Qt::Key_F6));
    connect(nextArea, &QAction::triggered, this, [this] { FocusNextArea(1); });
    addAction(nextArea);
    auto* previousArea = new QAction(this);
    previousArea->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(previousArea, &QAction::triggered, this, [this] { FocusNextArea(-1); });
    addAction(previousArea);
#ifdef QM_HAVE_ARCHIVE
    AddArchivePanel(*m_ribbon, this);
#endif
    setMenuWidget(m_ribbon);
}

void CMainFrame::FocusNextArea(int direction) {
    QWidget* pane = m_dialog ? FirstFocusable(m_dialog) : nullptr;
    std::vector<QWidget*> areas{m_tree, m_view};
    if (pane)
        areas.push_back(pane);
    const QWidget* focus = QApplication::focusWidget();
    int current = -1;
    for (std::size_t i = 0; i < areas.size(); ++i)
        if (focus && (focus == areas[i] || areas[i]->isAncestorOf(focus) ||
                      (i == 2 && m_dialog->isAncestorOf(focus))))
            current = static_cast<int>(i);
    const int count = static_cast<int>(areas.size());
    const int next = current < 0 ? (direction > 0 ? 0 : count - 1)
                                 : ((current + direction) % count + count) % count;
    areas[static_cast<std::size_t>(next)]->setFocus(Qt::OtherFocusReason);
}

QWidget* CMainFrame::FirstFocusable(QWidget* area) {
    for (QWidget* w = area->nextInFocusChain(); w && w != area; w = w->nextInFocusChain())
        if (area->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
            w->isEnabled())
            return w;
    return area;
}

void CMainFrame::RefreshConnection() {
    m_status->ShowConnection(CLevantoApp::Instance().Port());
}

void CMainFrame::BuildClientArea() {
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_tree = new CFileTreeView(m_splitter);
    m_view = new CLevantoView(m_splitter);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_view);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 4);
    m_splitter->setChildrenCollapsible(false);
    setCentralWidget(m_splitter);
    m_holder = std::make_unique<CChartHolder>(m_view);
    m_outlines = new ChartLimitOutlines(*m_holder, this);
    CLevantoApp::Instance().SetChartPicture(m_view);
    m_connectDialog = new CDlgSetCom(this);
    connect(m_tree, &CFileTreeView::ItemOpened, this, &CMainFrame::OpenTreeItem);
    m_clientReady = true;
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_splitDone) {
        // File tree one fifth, chart view four fifths of the client width.
        const int width = m_splitter->width();
        m_splitter->setSizes({width / 5, width - width / 5});
        m_splitDone = true;
    }
}

CBaseCtrlPane* CMainFrame::Pane() const {
    return m_pane;
}

CAnalysisDialog* CMainFrame::PaneDialog() const {
    return m_dialog;
}

QAction* CMainFrame::LookAction(int look) const {
    for (QAction* action : m_looks->actions()) {
        if (action->data().toInt() == look)
            return action;
    }
    return nullptr;
}

void CMainFrame::SetLook(int look) {
    if (!IsLook(look))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ApplyLook(look);
    StoreLook(look);
    if (QAction* action = LookAction(look))
        action->setChecked(true);
    update();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::SetChartStyle(ChartStyle style) {
    StoreChartStyle(style);
    m_chartStyles[static_cast<std::size_t>(style)]->setChecked(true);
    m_holder->SetChartStyle(style);
    m_view->update();
}

void CMainFrame::RebuildFileTree() {
    const CFileCollection& files = CLevantoApp::Instance().Files();
    m_tree->Rebuild(qm::RebuildFileTree(files.Elements(), LanguageBase(), files.Incomplete()));
}

void CMainFrame::ClosePane() {
    if (m_pane) {
        m_holder->SetMarkerTarget(nullptr);
        removeDockWidget(m_pane);
        delete m_pane;
    }
    m_pane = nullptr;
    m_dialog = nullptr;
    m_chartValue = 0;
    m_chartIndex = -1;
}

void CMainFrame::FilesReplaced() {
    // The window's file is the project the files came from, which the report names; files
    // from anywhere else have none until saved.
    setWindowFilePath({});
    // The pane showed a file of the collection that went: its index now names another file.
    if (m_pane) {
        ClosePane();
        m_holder->InstallNullController();
    }
    RebuildFileTree();
}

bool CMainFrame::MayDropFiles() {
    if (!m_unsaved || CLevantoApp::Instance().Files().Empty())
        return true;
    return MayDropUnsaved(this, MessageCaption(MessageKind::Notice),
                          Text(txt::kUploadedMeasurementFilesHaveNotBeen), [this] {
                              SaveProject();
                              return !m_unsaved;
                          });
}

void CMainFrame::SetChartAside() {
    const CInstrument* chart = m_holder->Current();
    const CMyDevGDI* surface = chart ? chart->Surface() : nullptr;
    m_chartMarker = surface ? surface->GetState().markerPositions[0] : 0;
    m_holder->InstallNullController();
}

void CMainFrame::RestorePaneChart() {
    if (!m_pane || !m_chartValue)
        return;
    const std::optional<_tagFileDataExt> element =
        CLevantoApp::Instance().Files().At(static_cast<std::size_t>(m_chartIndex));
    if (!element)
        return;
    CInstrument& chart = m_holder->InstallController(m_chartValue);
    ShowOnChart(chart, *element);
    if (CMyDevGDI* surface = chart.Surface())
        surface->SetMarkerPosition(0, m_chartMarker);
    m_outlines->Follow(m_dialog);
    m_view->SendSizeNotification();
    m_holder->DrawNow();
    m_view->update();
}

void CMainFrame::OpenAnalysisPane(int itemValue) {
    const std::optional<PaneSection> section = SectionFromTreeValue(itemValue);
    if (!section)
        return;
    const QString title = Text(SectionTextId(itemValue));
    ClosePane();
    if (!IsChartSection(itemValue))
        m_holder->InstallNullController();
    std::unique_ptr<CAnalysisDialog> dialog = m_options.makeDialog(*section, nullptr);
    CAnalysisDialog* content = dialog.get();
    auto* pane = new CBaseCtrlPane(title, std::move(dialog), this);
    pane->setObjectName(QStringLiteral("AnalysisPane"));
    addDockWidget(Qt::BottomDockWidgetArea, pane);
    m_pane = pane;
    m_dialog = content;
    m_holder->SetMarkerTarget(content);
    pane->show();
    pane->raise();
    // Level and hum have no chart: their pane takes most of the height.
    const int available = centralWidget()->height() + pane->height();
    const int remembered = UserStore().value(PaneHeightKey(itemValue)).toInt();
    const int share = remembered > 0              ? std::min(remembered, available * 9 / 10)
                      : IsChartSection(itemValue) ? available * 2 / 5
                                                  : available * 3 / 5;
    resizeDocks({pane}, {share}, Qt::Vertical);
    // Lay the window out now, so that the chart starts at the view's final size.
    if (QLayout* frameLayout = layout())
        frameLayout->activate();
    if (IsChartSection(itemValue))
        m_holder->InstallController(itemValue);
    m_view->SendSizeNotification();
}

void CMainFrame::OpenTreeItem(QTreeWidgetItem* item) {
    if (!m_clientReady)
        return;
    if (CFileTreeView::IsSectionItem(item)) {
        const int value = CFileTreeView::ItemValue(item);
        const int index = CFileTreeView::ElementIndex(item);
        const std::optional<_tagFileDataExt> element =
            CLevantoApp::Instance().Files().At(static_cast<std::size_t>(index));
        // The tree always mirrors the collection; a stale item opens nothing.
        if (element && SectionFromTreeValue(value)) {
            OpenAnalysisPane(value);
            if (IsChartSection(value)) {
                ShowOnChart(m_holder->InstallController(value), *element);
                m_outlines->Follow(m_dialog);
                m_chartValue = value;
                m_chartIndex = index;
            }
            if (m_dialog) {
                m_dialog->ShowFile(index);
                m_dialog->setFocus();
            }
            m_view->SendSizeNotification();
        }
    }
    if (QLayout* frameLayout = layout())
        frameLayout->activate();
    // The first frame of a new chart without waiting for the render thread's next wake-up.
    m_holder->DrawNow();
    m_view->update();
}

void CMainFrame::Upload() {
    if (!MayDropFiles())
        return;
    auto* progress = new CDlgProgress(this);
    emit DialogOpening(progress);
    CLevantoApp& app = CLevantoApp::Instance();
    progress->Start(app.Port(), app.Files(), [this, progress](const UploadResult& result) {
        progress->deleteLater();
        UploadEnded(result);
    });
}

void CMainFrame::UploadEnded(const UploadResult& result) {
    RefreshConnection();
    if (!result.ReplacesLoaded())
        return; // the files loaded before stay, and are no upload to keep
    CLevantoApp& app = CLevantoApp::Instance();
    // Files read before a Cancel are the upload's too: unsaved until saved.
    m_unsaved = !app.Files().Empty();
    FilesReplaced();
    if (result.outcome.ok)
        ReportDone(this, Text(txt::kStatusUploaded).arg(app.Files().Count()));
#ifdef QM_HAVE_ARCHIVE
    if (result.connected && !result.outcome.cancelled)
        KeepUploadInArchive(this, app.Files().Elements());
#endif
}

void CMainFrame::OpenProject() {
    if (!MayDropFiles())
        return;
    const std::optional<QString> name = Prompt().OpenFileName(this, kProjectFilter, kProjectSuffix);
    if (!name)
        return;
    LoadProjectFile(name->toStdString());
}

void CMainFrame::OpenProjectFile(const std::string& path) {
    if (MayDropFiles())
        LoadProjectFile(path);
}

void CMainFrame::LoadProjectFile(const std::string& path) {
    const ProjectLoad load = qm::OpenProject(path, CLevantoApp::Instance().Files());
    if (load.status != ProjectStatus::Ok) {
        // What was loaded stays, tree and pane together.
        ReportProjectFailure(this, load.status, path);
        return;
    }
    m_unsaved = false;
    FilesReplaced();
    setWindowFilePath(QString::fromStdString(path));
    ReportDone(this, Text(txt::kStatusOpened).arg(FileNameOf(path)));
    if (load.Damaged())
        ReportDamagedProject(this, load);
}

void CMainFrame::SaveProject() {
    const std::optional<QString> name = Prompt().SaveFileName(this, kProjectFilter, kProjectSuffix);
    if (!name)
        return;
    const std::string path = name->toStdString();
    const ProjectStatus status = qm::SaveProject(path, CLevantoApp::Instance().Files().Elements());
    if (status == ProjectStatus::Ok) {
        m_unsaved = false;
        setWindowFilePath(*name);
        ReportDone(this, Text(txt::kStatusSaved).arg(FileNameOf(path)));
    }
    ReportProjectFailure(this, status, path);
}

int CMainFrame::ShowConnectDialog(bool installNullChart) {
    if (installNullChart)
        SetChartAside();
    m_connectDialog->Load();
    emit DialogOpening(m_connectDialog);
    const int result = m_connectDialog->exec();
    RefreshConnection();
    if (installNullChart)
        RestorePaneChart();
    return result;
}

void CMainFrame::OpenChannelEditorCommand() {
    OpenChannelEditor(this);
    RefreshConnection();
}

void CMainFrame::OpenPictureCaptureCommand() {
    OpenPictureCapture(this);
    RefreshConnection();
}

void CMainFrame::OpenTimeUnitCommand() {
    OpenTimeUnitDialog(this);
    RefreshConnection();
}

void CMainFrame::ShowAbout(bool installNullChart) {
    if (installNullChart)
        SetChartAside();
    CDlgHelpAbout about(this);
    emit DialogOpening(&about);
    about.exec();
    // The null chart is for the time the box is up; the pane's chart comes back after it.
    if (installNullChart)
        RestorePaneChart();
}

bool CMainFrame::event(QEvent* event) {
    // The separator above the pane is the window's own: a drag on it starts and ends here.
    if (event->type() == QEvent::MouseButtonPress)
        m_paneHeightAtPress = m_pane ? m_pane->height() : -1;
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::MouseButtonRelease && m_pane && m_paneHeightAtPress >= 0 &&
        m_pane->height() != m_paneHeightAtPress) {
        UserStore().setValue(PaneHeightKey(PaneValue()), m_pane->height());
        m_paneHeightAtPress = -1;
    }
    return handled;
}

int CMainFrame::PaneValue() const {
    return m_dialog && !HasChart(m_dialog->Section()) ? kTreeLevel : kTreeTilt;
}

QString CMainFrame::PaneHeightKey(int itemValue) {
    // Chart panes share one height, the table-only panes (level, hum) another.
    return IsChartSection(itemValue) ? QStringLiteral("PaneHeight/Chart")
                                     : QStringLiteral("PaneHeight/Table");
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!MayDropFiles()) {
        event->ignore();
        return;
    }
    m_holder->InstallNullController();
    QMainWindow::closeEvent(event);
}

} // namespace qm
