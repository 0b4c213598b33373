#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FakePrompt.h"
#include "OperationWait.h"
#include "app/Settings.h"
#include "desktop/CLevantoApp.h"
#include "desktop/frame/CFileTreeView.h"
#include "desktop/frame/CMainFrame.h"
#include "desktop/panes/CAnalysisDialog.h"
#include "support/TestSupport.h"

namespace qm::test {

// A pane dialog that records what the main window sends it.
class RecordingDialog : public CAnalysisDialog {
public:
    RecordingDialog(PaneSection section, std::vector<std::string>* log)
        : m_section(section), m_log(log) {}
    PaneSection Section() const override { return m_section; }
    void ShowFile(long index) override { shown.push_back(index); }
    void MarkerMoved(long position) override {
        markers.push_back(position);
        if (m_log)
            m_log->push_back("marker");
    }

    std::vector<long> shown;
    std::vector<long> markers;

private:
    PaneSection m_section;
    std::vector<std::string>* m_log;
};

// A shown main window with its own settings file and per-user store, the loaded files emptied
// and every dialog answered by a FakePrompt. Its panes record what they are sent, or are the
// program's own.
class FrameFixture {
public:
    enum class Panes { Recording, Real };

    explicit FrameFixture(Panes panes = Panes::Recording) : scope(prompt) {
        SetSettingsPath(dir.File("setup.ini"));
        // Uploads are kept in an archive of the test's own (the default archive's folder).
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.File("data")));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(dir.File("user")));
        CLevantoApp::Instance().Files().Clear();
        CMainFrame::Options options;
        options.chineseRibbon = false;
        if (panes == Panes::Recording)
            options.makeDialog = [this](PaneSection section, QWidget*) {
                auto dialog = std::make_unique<RecordingDialog>(section, nullptr);
                dialogs.push_back(dialog.get());
                return dialog;
            };
        frame = std::make_unique<CMainFrame>(options);
        frame->show();
        (void)QTest::qWaitForWindowExposed(frame.get());
    }
    ~FrameFixture() {
        frame.reset();
        CLevantoApp::Instance().Files().Clear();
        CLevantoApp::Instance().Port().Close();
    }

    RecordingDialog* Current() const { return static_cast<RecordingDialog*>(frame->PaneDialog()); }
    void DoubleClick(QTreeWidgetItem* item) const {
        CFileTreeView* tree = frame->Tree();
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        // A press selects the item, as the first click of a double-click does; then the
        // double-click itself.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QMouseEvent press(QEvent::MouseButtonPress, at, tree->viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &press);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, tree->viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &twice);
        QMouseEvent release(QEvent::MouseButtonRelease, at, tree->viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &release);
    }
    void WriteSettings(const std::string& text) const { WriteFile(dir.File("setup.ini"), text); }

    TempDir dir;
    FakePrompt prompt;
    ScopedPrompt scope;
    std::vector<RecordingDialog*> dialogs;
    std::unique_ptr<CMainFrame> frame;
};

// Runs `action` once the next modal dialog is up.
inline void WhenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = nullptr;
        for (int i = 0; i < 500 && !(modal = QApplication::activeModalWidget()); ++i)
            QTest::qWait(10);
        action(modal);
    });
}

} // namespace qm::test
