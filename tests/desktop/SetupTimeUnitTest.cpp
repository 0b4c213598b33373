// The Time/Unit Setting dialog against the simulator.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QRadioButton>
#include <QTimeEdit>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "SetupTestSupport.h"
#include "desktop/setup/CDlgNormalSet.h"
#include "res/StringTable.h"

namespace qm {
namespace {

using test::Child;
using test::Click;
using test::SimProcess;

class TimeUnitDialog : public ::testing::Test {
protected:
    void SetUp() override { dialog.show(); }
    std::vector<std::string> Frames() const { return test::LoggedFrames(log); }

    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    test::SetupSettings ini;
    std::string log = ini.dir.File("frames.log");
    CDlgNormalSet dialog; // after the settings: it reads them when built
};

class TimeUnitFromSettings : public TimeUnitDialog {
    void SetUp() override {} // each test opens its own dialog after writing the settings
};

TEST_F(TimeUnitFromSettings, OpensWithTheStoredDbmAndSendsCodeTwo) {
    ini.settings.SetLevelUnit("dBm");
    ini.settings.SetTemperatureUnit("F");
    SimProcess sim({"--log", log});
    ini.Connect(sim.Path());
    CDlgNormalSet opened;
    opened.show();
    EXPECT_EQ(opened.windowTitle(), "Time/Unit Setting");
    EXPECT_TRUE(Child<QRadioButton>(opened, "dBm")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(opened, "F")->isChecked());
    EXPECT_EQ(Child<QComboBox>(opened, "shutdown")->currentText(), "Always ON");
    EXPECT_EQ(Child<QComboBox>(opened, "dateFormat")->currentText(), "M/D/Y");
    EXPECT_TRUE(Child<QCheckBox>(opened, "useNow")->isChecked());
    EXPECT_EQ(Child<QDateEdit>(opened, "date")->date(), QDate::currentDate());

    Click(opened, "download");
    EXPECT_EQ(Frames().at(1), "55 AA 01 07 16 02 E1");
    EXPECT_EQ(ini.settings.Ini().Read("General", "LevelUnit", ""), "dBm");
    ASSERT_EQ(prompt.Texts(), QStringList{"Data transfered successfully!"});
    EXPECT_EQ(prompt.messages[0].caption, "QM7100 Workdesk");
    EXPECT_EQ(prompt.messages[0].kind, MessageKind::Notice);
    EXPECT_TRUE(opened.isVisible()) << "the dialog stays open";
}

TEST_F(TimeUnitDialog, DefaultThenDownload) {
    SimProcess sim({"--log", log});
    ini.Connect(sim.Path());
    Click(dialog, "dBuV");
    Click(dialog, "C");
    Child<QComboBox>(dialog, "shutdown")->setCurrentIndex(0);
    Child<QComboBox>(dialog, "dateFormat")->setCurrentIndex(0);
    Click(dialog, "useNow");
    ASSERT_FALSE(Child<QCheckBox>(dialog, "useNow")->isChecked());

    Click(dialog, "default");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "dBmV")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "useNow")->isChecked());
    EXPECT_TRUE(prompt.messages.empty()) << "Default sends nothing";
    Click(dialog, "download");
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[1], "55 AA 01 07 16 01 E2");
    EXPECT_EQ(frames[2], "55 AA 01 07 18 01 E0");
    EXPECT_EQ(frames[3], "55 AA 01 07 1E 04 D7");
    EXPECT_EQ(frames[4].substr(33, 2), "02") << "date format " << frames[4];
    EXPECT_EQ(ini.settings.Ini().Read("General", "TemperatureUnit", ""), "F");
}

TEST_F(TimeUnitDialog, CancelKeepsTheChosenUnitButNotTheFile) {
    ini.settings.SetLevelUnit("dBuV");
    Click(dialog, "dBmV");
    EXPECT_EQ(CurrentLevelUnit(), "dBmV") << "at once, before any Download";
    Click(dialog, "cancel");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(CurrentLevelUnit(), "dBmV");
    EXPECT_EQ(ini.settings.Ini().Read("General", "LevelUnit", ""), "dBuV");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(TimeUnitDialog, RejectedTemperatureUnitAfterTheLevelUnitWasStored) {
    ini.settings.SetLevelUnit("dBuV");
    ini.settings.SetTemperatureUnit("C");
    SimProcess sim({"--log", log, "--fault", "bad-check=1:18"});
    ini.Connect(sim.Path());
    Click(dialog, "dBmV");
    Click(dialog, "F");
    Click(dialog, "download");
    ASSERT_EQ(prompt.Texts(), QStringList{"Failed to setup temperature unit!"});
    EXPECT_EQ(prompt.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(ini.settings.Ini().Read("General", "LevelUnit", ""), "dBmV");
    EXPECT_EQ(ini.settings.Ini().Read("General", "TemperatureUnit", ""), "C");
    EXPECT_TRUE(Child<QWidget>(dialog, "download")->isEnabled()) << "usable again";
}

TEST_F(TimeUnitDialog, ClockFromThePickersWhateverTheirLocale) {
    SimProcess sim({"--log", log});
    ini.Connect(sim.Path());
    auto* date = Child<QDateEdit>(dialog, "date");
    auto* time = Child<QTimeEdit>(dialog, "time");
    // Digits and month names that a text re-read would get wrong.
    date->setLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
    date->setDisplayFormat("d MMMM yy");
    date->setDate(QDate(2011, 8, 15));
    time->setTime(QTime(12, 0, 0));
    Click(dialog, "download");
    EXPECT_EQ(Frames().at(4), "55 AA 01 0D 1C 0C 00 00 0B 08 0F 02 A7");

    Click(dialog, "useNow"); // unticking keeps the pickers
    EXPECT_EQ(date->date(), QDate(2011, 8, 15));
    Click(dialog, "useNow");
    EXPECT_EQ(date->date(), QDate::currentDate());
}

TEST(TimeUnitDialogTexts, Chinese) {
    SetLanguageBase(kLanguageChinese);
    CDlgNormalSet dialog;
    SetLanguageBase(kLanguageEnglish);
    QStringList titles;
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
        titles << box->title();
    EXPECT_EQ(titles, (QStringList{"日期和时间", "电平单位", "温度单位"}));
    EXPECT_EQ(Child<QWidget>(dialog, "download")->property("text").toString(), "下载");
}

} // namespace
} // namespace qm
