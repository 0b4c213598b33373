#pragma once

#include <QDateTime>
#include <QDialog>
#include <QTimer>
#include <functional>

#include "operations/TimeUnitOperation.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QPushButton;
class QTimeEdit;

namespace qm {

class OperationRunner;

// "Time/Unit Setting": the meter's level and temperature units, shutdown time, date format and
// clock, downloaded in one go. The level unit radio also sets the program's current level unit.
class CDlgNormalSet : public QDialog {
    Q_OBJECT
public:
    // The local time now (tests put their own clock in).
    using Clock = std::function<QDateTime()>;

    explicit CDlgNormalSet(QWidget* parent = nullptr, Clock clock = {});

    // What Download sends, read from the controls as shown; the clock comes from the pickers'
    // own date and time values, so no display format or locale can change it. While "Current
    // date and time in use" is ticked, the pickers are first set to the time now: the meter
    // gets the moment of Download, not that of opening the dialog.
    TimeUnitChoice Choice();

private:
    void Select(const TimeUnitChoice& choice);
    void SetPickersToNow();
    void OnDefault();
    void OnDownload();

    QComboBox* m_dateFormat = nullptr;
    QCheckBox* m_useNow = nullptr;
    QDateEdit* m_date = nullptr;
    QTimeEdit* m_time = nullptr;
    QButtonGroup* m_levelUnits = nullptr; // ids are the unit codes
    QButtonGroup* m_temperatures = nullptr;
    QComboBox* m_shutdown = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_default = nullptr;
    QPushButton* m_cancel = nullptr;
    OperationRunner* m_runner = nullptr;
    Clock m_clock;
    QTimer m_tick;             // keeps the pickers on the time now while the box is ticked
    bool m_settingNow = false; // the pickers change because of the clock, not the user
};

} // namespace qm
