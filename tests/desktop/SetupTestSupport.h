#pragma once

#include <QWidget>
#include <QtTest/QtTest>
#include <string>

#include "app/Settings.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm::test {

// A temporary setup.ini for the program, pointed at a simulator (or at nothing), restored at
// the end of the test.
class SetupSettings {
public:
    SetupSettings() : m_previous(SettingsPath()) { SetSettingsPath(dir.File("setup.ini")); }
    ~SetupSettings() { SetSettingsPath(m_previous); }

    void Connect(const std::string& port, const std::string& baud = "115200") const {
        settings.SetPort(port);
        settings.SetBaud(baud);
    }

    TempDir dir;
    Settings settings{dir.File("setup.ini")};

private:
    std::string m_previous;
};

template <class W> W* Child(QWidget& parent, const char* name) {
    W* child = parent.findChild<W*>(QString::fromUtf8(name));
    if (!child)
        ADD_FAILURE() << "no child " << name;
    return child;
}

inline void Click(QWidget& parent, const char* name) {
    QTest::mouseClick(Child<QWidget>(parent, name), Qt::LeftButton);
}

} // namespace qm::test
