// The Time/Unit Setting dialog against the simulator.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QRadioButton>
#include <QTimeEdit>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "SetupTestSupport.h"
#include "desktop/setup/CDlgNormalSet.h"

namespace qm {
namespace {

using test::Child;
using test::Click;

class TimeUnitDialog : public ::testing::Test {
protected:
    // Opened once the test has written the settings, which it reads when built.
    CDlgNormalSet& Open(const std::vector<std::string>& simArgs = {}) {
        sim = std::make_unique<test::SimProcess>(simArgs);
        ini.Connect(sim->Path());
        dialog = std::make_unique<CDlgNormalSet>();
        dialog->show();
        return *dialog;
    }
    std::string Stored(const char* key) const {
        return ini.settings.Ini().Read("General", key, "");
    }
    bool Checked(const char* name) const {
        return Child<QAbstractButton>(*dialog, name)->isChecked();
    }

    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    test::SetupSettings ini;
    std::string log = ini.dir.File("frames.log");
    std::unique_ptr<test::SimProcess> sim;
    std::unique_ptr<CDlgNormalSet> dialog;
};

TEST_F(TimeUnitDialog, OpensWithTheStoredDbmAndSendsCodeTwo) {
    ini.settings.SetLevelUnit("dBm");
    ini.settings.SetTemperatureUnit("F");
    CDlgNormalSet& d = Open({"--log", log});
    EXPECT_TRUE(Checked("dBm") && Checked("F") && Checked("useNow"));
    EXPECT_EQ(Child<QComboBox>(d, "shutdown")->currentText(), "Always ON");
    EXPECT_EQ(Child<QComboBox>(d, "dateFormat")->currentText(), "M/D/Y");
    EXPECT_EQ(Child<QDateEdit>(d, "date")->date(), QDate::currentDate());

    Click(d, "download");
    EXPECT_EQ(test::LoggedFrames(log).at(1), "55 AA 01 07 16 02 E1");
    EXPECT_EQ(Stored("LevelUnit"), "dBm");
    ASSERT_EQ(prompt.Texts(), QStringList{"Data transfered successfully!"});
    EXPECT_EQ(prompt.messages[0].kind, MessageKind::Notice);
    EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
}

TEST_F(TimeUnitDialog, DefaultThenDownload) {
    CDlgNormalSet& d = Open({"--log", log});
    Click(d, "dBuV");
    Click(d, "C");
    Child<QComboBox>(d, "shutdown")->setCurrentIndex(0);
    Child<QComboBox>(d, "dateFormat")->setCurrentIndex(0);
    Click(d, "useNow");
    Click(d, "default");
    EXPECT_TRUE(Checked("dBmV") && Checked("F") && Checked("useNow"));
    EXPECT_TRUE(prompt.messages.empty()) << "Default sends nothing";
    Click(d, "download");
    const auto frames = test::LoggedFrames(log);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[1], "55 AA 01 07 16 01 E2");
    EXPECT_EQ(frames[2], "55 AA 01 07 18 01 E0");
    EXPECT_EQ(frames[3], "55 AA 01 07 1E 04 D7");
    EXPECT_EQ(frames[4].substr(33, 2), "02") << "date format " << frames[4];
}

TEST_F(TimeUnitDialog, CancelKeepsTheChosenUnitButNotTheFile) {
    ini.settings.SetLevelUnit("dBuV");
    CDlgNormalSet& d = Open();
    Click(d, "dBmV");
    EXPECT_EQ(CurrentLevelUnit(), "dBmV") << "at once, before any Download";
    Click(d, "cancel");
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(CurrentLevelUnit(), "dBmV");
    EXPECT_EQ(Stored("LevelUnit"), "dBuV");
}

TEST_F(TimeUnitDialog, RejectedTemperatureUnitAfterTheLevelUnitWasStored) {
    ini.settings.SetTemperatureUnit("C");
    CDlgNormalSet& d = Open({"--fault", "bad-check=1:18"});
    Click(d, "dBmV");
    Click(d, "F");
    Click(d, "download");
    ASSERT_EQ(prompt.Texts(), QStringList{"Failed to setup temperature unit!"});
    EXPECT_EQ(prompt.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(Stored("LevelUnit"), "dBmV");
    EXPECT_EQ(Stored("TemperatureUnit"), "C");
    EXPECT_TRUE(Child<QWidget>(d, "download")->isEnabled()) << "usable again";
}

TEST_F(TimeUnitDialog, ClockFromThePickersWhateverTheirLocale) {
    CDlgNormalSet& d = Open({"--log", log});
    auto* date = Child<QDateEdit>(d, "date");
    // Digits and month names that re-reading the text would get wrong.
    date->setLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
    date->setDisplayFormat("d MMMM yy");
    date->setDate(QDate(2011, 8, 15));
    Child<QTimeEdit>(d, "time")->setTime(QTime(12, 0, 0));
    EXPECT_FALSE(Checked("useNow")) << "a date set by hand is no longer now";
    Click(d, "download");
    EXPECT_EQ(test::LoggedFrames(log).at(4), "55 AA 01 0D 1C 0C 00 00 0B 08 0F 02 A7");
    Click(d, "useNow"); // ticking sets the pickers to now
    EXPECT_EQ(date->date(), QDate::currentDate());
}

TEST_F(TimeUnitDialog, WithNowTickedTheClockSentIsThatOfTheDownload) {
    Open({"--log", log});
    QDateTime now(QDate(2024, 3, 9), QTime(23, 59, 50));
    dialog = std::make_unique<CDlgNormalSet>(nullptr, [&now] { return now; });
    dialog->show();
    now = now.addSecs(75); // a minute and more with the dialog open: 00:01:05 on 2024-03-10
    Click(*dialog, "download");
    EXPECT_EQ(test::LoggedFrames(log).at(4), "55 AA 01 0D 1C 00 01 05 18 03 0A 02 AA");
}

} // namespace
} // namespace qm
