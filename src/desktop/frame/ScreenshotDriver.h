#pragma once

#include <QObject>
#include <QString>

class QDialog;
class QWidget;

namespace qm {

class CMainFrame;

// Drives the program through its windows and saves a picture of each (QM_SCREENSHOT_DIR):
// the connection dialog, an upload in progress, the tree, every pane with its chart, the five
// looks, the channel editor with a plan read from the meter, the question about unsaved files
// and the warning of a project cut short (Open of a cut copy of the upload) and the About box;
// then quits. With QM_SCREENSHOT_SET=zh only the main window, the question and the warning are
// taken, as main-zh.png, unsaved-question-zh.png and damaged-project-zh.png, with the status
// bar and the small screen.
class ScreenshotDriver : public QObject {
    Q_OBJECT
public:
    // Null when the environment asks for no screenshots.
    static ScreenshotDriver* FromEnvironment(CMainFrame& frame);

    ScreenshotDriver(CMainFrame& frame, QString directory, bool chineseOnly);

    // Starts the walk once the event loop runs.
    void Start();

private:
    void OnDialog(QDialog* dialog);
    void Run();
    void Save(const QImage& image, const QString& name);
    void SaveWidget(QWidget* widget, const QString& name);
    void SaveScreenArea(const QString& name);
    // Opens a cut copy of the files loaded, answering the two message boxes on the way.
    void OpenDamagedProject(const QString& suffix);
    // Takes the next message box that comes up and presses its button `button` (1 the
    // destructive one, else the accepting one); then waits for the box named `then`.
    void AnswerNextBox(const QString& name, int button, const QString& then = {});
    static void Wait(int ms);
    // The picture's name in this run's language: "pane-tilt.png" or "pane-tilt-zh.png".
    QString Named(const char* name) const;
    // Saves the next modal window as `name` and closes it; clicks its button `clickFirst`
    // (an object name) before, when given.
    void SaveNextModal(const char* name, const char* clickFirst = nullptr);
    // Until every meter operation and its continuation have ended.
    static void WaitForOperations();
    void OpenSection(int value, int ms);
    // The main window at 1024 x 600 with a chart pane and a table pane.
    void SaveSmallScreen(const QString& suffix);
    // Every chart pane with its chart in the clear style.
    void SaveClearCharts(const QString& suffix);

    CMainFrame& m_frame;
    QString m_directory;
    bool m_chineseOnly;
    bool m_progressTaken = false;
    // QM_SCREENSHOT_SET=scaled: one picture of the window with a pane (a 200 % scale run).
    bool m_scaled = false;
};

} // namespace qm
