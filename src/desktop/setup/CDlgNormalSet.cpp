#include "desktop/setup/CDlgNormalSet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Settings.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "desktop/Prompt.h"
#include "desktop/setup/SetupButton.h"

namespace qm {

namespace {

// Texts the meter's lists show in both languages, in code order.
const char* const kDateFormats[] = {"Y/M/D", "D/M/Y", "M/D/Y"};
const char* const kShutdownTimes[] = {"3 min", "5 min", "10 min", "30 min", "Always ON"};
const char* const kLevelUnits[] = {"dBuV", "dBmV", "dBm"};
const char* const kTemperatures[] = {"C", "F"};
const char* const kTemperatureTexts[] = {"\u00B0C", "\u00B0F"};
constexpr int kAlwaysOn = 4;
constexpr int kMonthDayYear = 2;

QButtonGroup* RadioGroup(QGroupBox* box, const char* const* texts, const char* const* names,
                         int count) {
    auto* group = new QButtonGroup(box);
    auto* row = new QHBoxLayout(box);
    for (int code = 0; code < count; ++code) {
        auto* radio = new QRadioButton(QString::fromUtf8(texts[code]), box);
        radio->setObjectName(QString::fromUtf8(names[code]));
        group->addButton(radio, code);
        row->addWidget(radio);
    }
    row->addStretch();
    return group;
}

QComboBox* List(QWidget* parent, const char* name, const char* const* texts, int count) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromUtf8(name));
    for (int i = 0; i < count; ++i)
        list->addItem(QString::fromUtf8(texts[i]));
    return list;
}

} // namespace

CDlgNormalSet::CDlgNormalSet(QWidget* parent, Clock clock)
    : QDialog(parent), m_clock(clock ? std::move(clock) : Clock(&QDateTime::currentDateTime)) {
    setWindowTitle(QStringLiteral("Time/Unit Setting"));
    PaintDialogBackground(this);

    auto* dateBox = new QGroupBox(Text(txt::kDateAndTime), this);
    m_dateFormat = List(dateBox, "dateFormat", kDateFormats, 3);
    m_useNow = new QCheckBox(Text(txt::kUseCurrentDateTime), dateBox);
    m_useNow->setObjectName(QStringLiteral("useNow"));
    m_date = new QDateEdit(dateBox);
    m_date->setObjectName(QStringLiteral("date"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    // The meter keeps the year in one byte counted from 2000.
    m_date->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    m_time = new QTimeEdit(dateBox);
    m_time->setObjectName(QStringLiteral("time"));
    m_time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    auto* dateGrid = new QGridLayout(dateBox);
    dateGrid->addWidget(new QLabel(Text(txt::kDateFormatSet), dateBox), 0, 0);
    dateGrid->addWidget(m_dateFormat, 0, 1);
    dateGrid->addWidget(m_useNow, 1, 0, 1, 2);
    dateGrid->addWidget(m_date, 2, 0);
    dateGrid->addWidget(m_time, 2, 1);

    auto* levelBox = new QGroupBox(Text(txt::kLevelUnit), this);
    m_levelUnits = RadioGroup(levelBox, kLevelUnits, kLevelUnits, 3);
    auto* temperatureBox = new QGroupBox(Text(txt::kTemperatureUnit), this);
    m_temperatures = RadioGroup(temperatureBox, kTemperatureTexts, kTemperatures, 2);
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(levelBox);
    unitRow->addWidget(temperatureBox);

    m_shutdown = List(this, "shutdown", kShutdownTimes, 5);
    auto* shutdownRow = new QHBoxLayout;
    shutdownRow->addWidget(new QLabel(Text(txt::kShutdownTime), this));
    shutdownRow->addWidget(m_shutdown);
    shutdownRow->addStretch();

    m_download = SetupButton(this, "download", txt::kDownload);
    m_default = SetupButton(this, "default", txt::kDefault);
    m_cancel = SetupButton(this, "cancel", txt::kCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_download);
    buttons->addWidget(m_default);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dateBox);
    layout->addLayout(unitRow);
    layout->addLayout(shutdownRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_levelUnits, &QButtonGroup::idClicked, this,
            [](int code) { SetCurrentLevelUnit(kLevelUnits[code]); });
    connect(m_useNow, &QCheckBox::clicked, this, [this](bool ticked) {
        if (ticked)
            SetPickersToNow();
    });
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        if (m_useNow->isChecked())
            SetPickersToNow();
    });
    m_tick.start();
    // A date or time set by hand is the one to send: the box no longer says "now".
    const auto setByHand = [this] {
        if (!m_settingNow)
            m_useNow->setChecked(false);
    };
    connect(m_date, &QDateEdit::dateChanged, this, setByHand);
    connect(m_time, &QTimeEdit::timeChanged, this, setByHand);
    m_runner = new OperationRunner(this);
    connect(m_default, &QPushButton::clicked, this, &CDlgNormalSet::OnDefault);
    connect(m_download, &QPushButton::clicked, this, &CDlgNormalSet::OnDownload);
    connect(m_cancel, &QPushButton::clicked, this, &CDlgNormalSet::reject);

    Select(DefaultTimeUnitChoice(Settings()));
}

void CDlgNormalSet::Select(const TimeUnitChoice& choice) {
    // The settings' unit as the program reads it, so the radios show what Download sends.
    m_levelUnits->button(LevelUnitCode(MapLevelUnit(choice.levelUnit)))->setChecked(true);
    m_temperatures->button(std::max(0, TemperatureCode(choice.temperature)))->setChecked(true);
    m_shutdown->setCurrentIndex(choice.shutdown);
    m_dateFormat->setCurrentIndex(choice.dateFormat);
    SetPickersToNow();
    m_useNow->setChecked(true);
}

void CDlgNormalSet::SetPickersToNow() {
    const QDateTime now = m_clock();
    m_settingNow = true;
    m_date->setDate(now.date());
    m_time->setTime(now.time());
    m_settingNow = false;
}

TimeUnitChoice CDlgNormalSet::Choice() {
    if (m_useNow->isChecked())
        SetPickersToNow();
    TimeUnitChoice choice;
    choice.levelUnit = kLevelUnits[std::max(0, m_levelUnits->checkedId())];
    choice.temperature = kTemperatures[std::max(0, m_temperatures->checkedId())];
    choice.shutdown = m_shutdown->currentIndex();
    choice.dateFormat = m_dateFormat->currentIndex();
    const QDate date = m_date->date();
    const QTime time = m_time->time();
    choice.when = {date.year(), date.month(),  date.day(),
                   time.hour(), time.minute(), time.second()};
    return choice;
}

void CDlgNormalSet::OnDefault() {
    TimeUnitChoice defaults;
    defaults.levelUnit = "dBmV";
    defaults.temperature = "F";
    defaults.shutdown = kAlwaysOn;
    defaults.dateFormat = kMonthDayYear;
    Select(defaults);
}

void CDlgNormalSet::OnDownload() {
    if (m_runner->Busy())
        return;
    const TimeUnitChoice choice = Choice();
    QList<QWidget*> controls;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        controls << child;
    m_runner->SetControls(controls);
    setCursor(Qt::WaitCursor);
    cnComm& port = CLevantoApp::Instance().Port();
    m_runner->Start<OperationOutcome>(
        [&port, choice](const ProgressFn&) {
            return DownloadTimeUnit(port, ConnectTarget::FromSettings(), choice, Settings());
        },
        [this](OperationOutcome outcome) {
            unsetCursor();
            ShowOutcome(this, outcome);
        },
        &port);
}

} // namespace qm
