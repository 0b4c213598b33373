// The desktop tests share one QApplication on the offscreen platform.
#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "desktop/UserStore.h"
#include "res/StringTable.h"

namespace {

class DesktopEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // Screenshot runs ask for a real display (QM_TEST_PLATFORM, QM_TEST_KEEP_PLATFORM or
        // QT_QPA_PLATFORM set to xcb under Xvfb); everything else runs offscreen.
        if (!qgetenv("QM_TEST_PLATFORM").isEmpty())
            qputenv("QT_QPA_PLATFORM", qgetenv("QM_TEST_PLATFORM"));
        else if (qgetenv("QT_QPA_PLATFORM") != "xcb" &&
                 qEnvironmentVariableIsEmpty("QM_TEST_KEEP_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_desktop";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
        // The per-user store (look, limit profile) of a scratch folder, empty at every run: the
        // tests neither read nor change the user's own choices.
        QStandardPaths::setTestModeEnabled(true);
        qm::UserStore().clear();
        // Uploads kept in the archive land in a scratch folder too, never in the user's own.
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_data.path().toStdString()));
        qm::SetLanguageBase(qm::kLanguageEnglish);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
    QTemporaryDir m_data;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new DesktopEnvironment);

} // namespace
