#include "operations/TimeUnitOperation.h"

#include <cerrno>
#include <ctime>

#include "app/Settings.h"
#include "base/Platform.h"
#include "operations/LinkOutcome.h"

namespace qm {

namespace {

// A unit the meter took but the settings file could not keep ends the download like any
// other failed step; the desktop program has no message box for it, so it goes in the detail.
OperationOutcome SettingsFailure(const Settings& settings) {
    OperationOutcome outcome;
    outcome.detail = SettingsWriteError(settings.Path(), errno);
    return outcome;
}

} // namespace

TimeUnitChoice DefaultTimeUnitChoice(const Settings& settings) {
    TimeUnitChoice choice;
    choice.levelUnit = settings.LevelUnit();
    const std::string temperature = settings.TemperatureUnit();
    choice.temperature = TemperatureCode(temperature) >= 0 ? temperature : "C";
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalTime(now);
    choice.when = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
    return choice;
}

int ShutdownCode(const std::string& text) {
    static const char* const kTexts[] = {"3", "5", "10", "30", "on"};
    for (int i = 0; i < 5; ++i)
        if (text == kTexts[i])
            return i;
    return -1;
}

int DateFormatCode(const std::string& text) {
    static const char* const kTexts[] = {"Y/M/D", "D/M/Y", "M/D/Y"};
    for (int i = 0; i < 3; ++i)
        if (text == kTexts[i])
            return i;
    return -1;
}

int TemperatureCode(const std::string& text) {
    return text == "C" ? 0 : text == "F" ? 1 : -1;
}

namespace {

OperationOutcome DownloadTimeUnitSteps(cnComm& port, const ConnectTarget& target,
                                       const TimeUnitChoice& choice, const Settings& settings) {
    OperationOutcome outcome;
    if (!ConnectTo(port, target)) {
        outcome.Show(txt::kConnectionFailed, MessageKind::Error);
        return outcome;
    }
    const std::string unit = MapLevelUnit(choice.levelUnit);
    if (!SetLevelUnit(port, LevelUnitCode(unit))) {
        outcome.Show(txt::kLevelUnitFailed, MessageKind::Error);
        return outcome;
    }
    if (!settings.SetLevelUnit(unit))
        return SettingsFailure(settings);
    if (!SetTemperatureUnit(port, TemperatureCode(choice.temperature))) {
        outcome.Show(txt::kTemperatureFailed, MessageKind::Error);
        return outcome;
    }
    if (!settings.SetTemperatureUnit(choice.temperature))
        return SettingsFailure(settings);
    if (!SetShutdownTime(port, choice.shutdown)) {
        outcome.Show(txt::kShutdownFailed, MessageKind::Error);
        return outcome;
    }
    SetDateTime(port, choice.when, choice.dateFormat); // its answer is not looked at
    Release(port);
    outcome.Show(txt::kDataTransferred, MessageKind::Notice);
    outcome.ok = true;
    return outcome;
}

} // namespace

OperationOutcome DownloadTimeUnit(cnComm& port, const ConnectTarget& target,
                                  const TimeUnitChoice& choice, const Settings& settings) {
    OperationOutcome result = DownloadTimeUnitSteps(port, target, choice, settings);
    NoteLinkOutcome(result, port);
    return result;
}

} // namespace qm
