#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/UserMessage.h"
#include "channels/ChannelGridModel.h"
#include "channels/ChannelPlanList.h"
#include "res/TextIds.h"

namespace qm {

struct CellTextChange {
    std::size_t row = 0;
    int column = 0;
    std::string text;
};

// What the user sees after finishing the edit of one cell.
struct CellEditOutcome {
    bool applied = false; // false: the cell is outside the grid or not editable; nothing changed
    std::vector<std::size_t> changedRecords; // indexes of records whose bytes changed
    std::vector<CellTextChange> cells;       // cells that show new texts (none after a refill)
    bool keepsTypedText = false;             // the edited cell still shows the typed text
    bool refill = false;                     // the whole grid was rebuilt from the records
    std::optional<UserMessage> message;      // the message box shown, if any
};

// The rules applied when an edit of a channel grid cell ends: check the text against the
// column's limits, write the accepted value into the row's record, bring dependent cells up to
// date, or restore the cell and say why. Works on the plan and the grid model it is given;
// both are updated, so edits can follow one another.
class CCellEditRules {
public:
    CCellEditRules(CChannelPlanList& plan, CChannelGridModel& grid) : m_plan(plan), m_grid(grid) {}

    // The grid has put `text` into cell (row, column) and reports the end of the edit.
    CellEditOutcome EditFinished(std::size_t row, int column, const std::string& text);

private:
    void EditEia(const std::string& text);
    void EditName(const std::string& text);
    void EditType(const std::string& text);
    void EditFrequency(const std::string& text);
    void EditAudioBw(const std::string& text);
    void EditEnable(const std::string& text);
    void EditTilt(const std::string& text);
    void EditModulation(const std::string& text);
    void EditSymbolRate(const std::string& text);
    void EditStandard(const std::string& text);
    void EditTerrestrial(int column, const std::string& text);

    CommonChannel& Record();
    void Show(int column, std::string text);
    void ShowRecord(int column); // the cell shows the record's value again
    void Refill() { m_outcome.refill = true; }
    void Error(int id) { m_outcome.message = UserMessage{id, MessageKind::Error}; }
    void Notice(int id) { m_outcome.message = UserMessage{id, MessageKind::Plain}; }

    CChannelPlanList& m_plan;
    CChannelGridModel& m_grid;
    int m_kind = -1;
    std::size_t m_row = 0;
    std::size_t m_record = 0;
    CellEditOutcome m_outcome;
};

} // namespace qm
