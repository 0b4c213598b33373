#pragma once

#include <QWidget>
#include <QtTest/QtTest>
#include <string>

#include "OperationWait.h"
#include "app/Settings.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm::test {

// A temporary setup.ini for the program for the length of a test.
struct SetupSettings {
    SetupSettings() { SetSettingsPath(dir.File("setup.ini")); }
    ~SetupSettings() { SetSettingsPath(previous); }
    void Connect(const std::string& port, const std::string& baud = "115200") const {
        settings.SetPort(port);
        settings.SetBaud(baud);
    }

    std::string previous = SettingsPath();
    TempDir dir;
    Settings settings{dir.File("setup.ini")};
};

template <class W> W* Child(const QWidget& parent, const char* name) {
    W* child = parent.findChild<W*>(QString::fromUtf8(name));
    if (!child)
        ADD_FAILURE() << "no child " << name;
    return child;
}

// Clicks the child, and lets the meter operation the click started run to its end.
inline void Click(const QWidget& parent, const char* name) {
    QTest::mouseClick(Child<QWidget>(parent, name), Qt::LeftButton);
    EXPECT_TRUE(WaitForOperations());
}

} // namespace qm::test
