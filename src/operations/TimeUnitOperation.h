#pragma once

#include <string>

#include "link/MeterCommands.h"
#include "operations/OperationOutcome.h"
#include "operations/SilentConnect.h"

namespace qm {

class cnComm;
class Settings;

// What the Time/Unit dialog downloads.
struct TimeUnitChoice {
    std::string levelUnit = "dBuV"; // "dBuV", "dBmV" or "dBm"; stored as "General"/"LevelUnit"
    std::string temperature = "C";  // "C" or "F"; stored as "General"/"TemperatureUnit"
    int shutdown = 4;               // 0 "3 min", 1 "5 min", 2 "10 min", 3 "30 min", 4 "Always ON"
    int dateFormat = 2;             // 0 "Y/M/D", 1 "D/M/Y", 2 "M/D/Y"
    MeterDateTime when;             // the meter's new clock
};

// The choice the dialog opens with: units from the settings, "Always ON", "M/D/Y" and the
// local time now.
TimeUnitChoice DefaultTimeUnitChoice(const Settings& settings);

// Shutdown and date-format texts to codes; -1 for anything else.
int ShutdownCode(const std::string& text);   // "3", "5", "10", "30", "on"
int DateFormatCode(const std::string& text); // "Y/M/D", "D/M/Y", "M/D/Y"
// Temperature unit text to code: "C" 0, "F" 1, -1 otherwise.
int TemperatureCode(const std::string& text);

// The Download: level unit, temperature unit, shutdown time, then date and time, then release.
// Each unit is stored in the settings as soon as the meter has accepted it; a step that fails
// ends the Download there without the release (5650 no connection, 5695, 5696, 5697 the step
// refused, all error boxes; a settings file that cannot be written, no box and the reason in
// the detail). The clock's own reply is not looked at. Success shows the notice 5689.
OperationOutcome DownloadTimeUnit(cnComm& port, const ConnectTarget& target,
                                  const TimeUnitChoice& choice, const Settings& settings);

} // namespace qm
