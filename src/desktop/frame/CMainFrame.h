#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "chart/ChartTypes.h"
#include "desktop/frame/RibbonTexts.h"
#include "operations/UploadOperation.h"
#include "panes/AnalysisPane.h"

class QAction;
class QActionGroup;
class QSplitter;
class QTreeWidgetItem;

namespace qm {

class CAnalysisDialog;
class CBaseCtrlPane;
class CChartHolder;
class ChartLimitOutlines;
class CDlgSetCom;
class CFileTreeView;
class CLevantoView;
class CRibbonBar;
class WorkdeskStatusBar;

// The program's main window: the ribbon, the file tree beside the chart view, an empty status
// bar and at most one analysis pane docked below.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    using DialogFactory =
        std::function<std::unique_ptr<CAnalysisDialog>(PaneSection, QWidget* parent)>;

    struct Options {
        // The ribbon follows the system's user-interface language.
        bool chineseRibbon = RibbonIsChinese(QLocale::system());
        // Makes the pane dialogs (tests put their own in).
        DialogFactory makeDialog;
    };

    CMainFrame();
    explicit CMainFrame(Options options);
    ~CMainFrame() override;

    // The ribbon's commands. Upload returns once its dialog is up; the files come in when the
    // worker has ended.
    void Upload();
    void OpenProject();
    // Open of a project file named on the command line (or by the screenshot driver); asks
    // first about files not saved, as Open does before its dialog.
    void OpenProjectFile(const std::string& path);
    void SaveProject();
    // Connect: null chart, then the connection dialog; returns the dialog's result.
    int ShowConnectDialog(bool installNullChart = true);
    void OpenChannelEditorCommand();
    void OpenPictureCaptureCommand();
    void OpenTimeUnitCommand();
    // About from the ribbon (null chart first) or the application menu (chart untouched).
    void ShowAbout(bool installNullChart);
    void SetLook(int look);
    // Classic or clear charts, in the view, the saved pictures, the compare window and the
    // report; kept per user.
    void SetChartStyle(ChartStyle style);
    QAction* ChartStyleAction(ChartStyle style) const {
        return m_chartStyles[static_cast<std::size_t>(style)];
    }

    // Fills the tree from the loaded files.
    void RebuildFileTree();
    // Uploaded files not yet saved to a project file.
    bool HasUnsavedFiles() const { return m_unsaved; }
    // A double-click (or Enter) on a tree item.
    void OpenTreeItem(QTreeWidgetItem* item);
    // Closes the pane, opens the pane of the item value and installs its chart.
    void OpenAnalysisPane(int itemValue);

    CFileTreeView* Tree() const { return m_tree; }
    CLevantoView* View() const { return m_view; }
    CChartHolder& Holder() const { return *m_holder; }
    CBaseCtrlPane* Pane() const;
    CAnalysisDialog* PaneDialog() const;
    CDlgSetCom* ConnectDialog() const { return m_connectDialog; }
    CRibbonBar* Ribbon() const { return m_ribbon; }
    WorkdeskStatusBar* Status() const { return m_status; }
    // F6: the keyboard focus to the next of file tree, chart view and pane (-1: the one before).
    void FocusNextArea(int direction);
    QAction* LookAction(int look) const;
    QAction* CommandAction(RibbonTexts::Command command) const { return m_commands[command]; }

signals:
    // A modal dialog of the frame is about to run (the screenshot driver and tests watch it).
    void DialogOpening(QDialog* dialog);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void UploadEnded(const UploadResult& result);
    void BuildRibbon(const RibbonTexts& texts);
    void BuildClientArea();
    static QWidget* FirstFocusable(QWidget* area);
    // The status bar's link text after anything that may have talked to the meter.
    void RefreshConnection();
    // The pane height a user dragged to is kept per user, apart for chart and table panes.
    static QString PaneHeightKey(int itemValue);
    int PaneValue() const;
    void ClosePane();
    // The null chart while a dialog is up, remembering where the pane's chart had its marker;
    // RestorePaneChart puts that chart back afterwards.
    void SetChartAside();
    void RestorePaneChart();
    // Before loaded files not saved would go: Save, Discard or Cancel. True to go on.
    bool MayDropFiles();
    // The loaded files were replaced: the tree shows the new ones, the old pane goes.
    void FilesReplaced();
    // Reads a project file into the loaded files, or reports why not.
    void LoadProjectFile(const std::string& path);

    Options m_options;
    CRibbonBar* m_ribbon = nullptr;
    WorkdeskStatusBar* m_status = nullptr;
    std::array<QAction*, RibbonTexts::CommandCount> m_commands{};
    QActionGroup* m_looks = nullptr;
    std::array<QAction*, 2> m_chartStyles{};
    QSplitter* m_splitter = nullptr;
    CFileTreeView* m_tree = nullptr;
    CLevantoView* m_view = nullptr;
    std::unique_ptr<CChartHolder> m_holder;
    ChartLimitOutlines* m_outlines = nullptr;
    QPointer<CBaseCtrlPane> m_pane;
    QPointer<CAnalysisDialog> m_dialog;
    CDlgSetCom* m_connectDialog = nullptr;
    bool m_clientReady = false;
    bool m_splitDone = false;
    bool m_unsaved = false;
    // The chart the open pane goes with: tree item value (0 for none) and element index.
    int m_chartValue = 0;
    int m_chartIndex = -1;
    int m_chartMarker = 0;
    int m_paneHeightAtPress = -1;
};

} // namespace qm
