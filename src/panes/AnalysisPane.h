#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/FileDataExt.h"
#include "measurement/MeasurementFile.h"
#include "measurement/Section.h"
#include "panes/PaneTable.h"

namespace qm {

// The two private messages the panes receive.
inline constexpr int WM_SHOWFILE = 1050;    // lParam: index of the loaded file to show
inline constexpr int WM_MARKERMOVED = 1051; // lParam: marker position, per pane

// The content of one analysis pane: the tables it shows, its Mark table after marker moves and
// its CSV export, computed from the pane's own copy of one element. The desktop dialogs only
// display these tables; the command-line tool prints them.
class AnalysisPane {
public:
    // languageBase picks the texts; the level unit is read when a pane is made, although no
    // pane converts or shows it.
    AnalysisPane(int languageBase, std::string levelUnit);
    virtual ~AnalysisPane() = default;
    AnalysisPane(const AnalysisPane&) = delete;
    AnalysisPane& operator=(const AnalysisPane&) = delete;

    virtual PaneSection Section() const = 0;
    // Tilt, spectrum, scan and limit panes go with a chart and follow its marker.
    bool HasChart() const;

    // WM_SHOWFILE: copies the element and fills the tables. The file name shown (never the
    // one exported) says so when the element was read incomplete.
    void ShowFile(const _tagFileDataExt& element, bool incomplete = false);
    // WM_SHOWFILE with an index into the loaded files (and their incomplete marks, which may
    // be fewer); an index outside them shows nothing.
    bool ShowFileAt(const std::vector<_tagFileDataExt>& files, long index,
                    const std::vector<bool>& incomplete = {});
    // WM_MARKERMOVED: refills the Mark table for the position. Before a file was shown, and in
    // panes without a chart, nothing happens.
    void MarkerMoved(long position);

    const std::vector<PaneTable>& Tables() const { return m_tables; }
    // The table with the tag ("Parameters", "Mark", "List", "Table"), or nullptr.
    const PaneTable* Table(std::string_view tag) const;
    // Text of the level and hum panes' file-name box.
    const std::string& FileNameText() const { return m_fileNameText; }

    // The bytes the CSV export writes, line feeds already turned into CR LF the way a
    // text-mode stream writes them. Empty before a file was shown.
    std::string ExportCsv() const;
    // Writes the CSV export to path whole, or not at all: false (errno telling why) keeps
    // the previous file.
    bool SaveCsv(const std::string& path) const;

    bool HasFile() const { return m_hasFile; }
    // The pane's own copy of the file it shows.
    const MeasurementFile& ShownFile() const { return m_file; }
    // The table whose rows carry their sources (the list of a chart pane, the level and hum
    // tables); nullptr in the spectrum pane.
    const PaneTable* JudgedTable() const;
    int LanguageBase() const { return m_base; }
    const std::string& LevelUnit() const { return m_levelUnit; }

protected:
    std::string T(int englishId) const;
    const MeasurementFile& File() const { return m_file; }
    PaneTable* MutableTable(std::string_view tag);

    // The chart panes' three tables: "Parameters" and "Mark" with "Description"/"Value" in
    // halves, and "List" with the titles in equal shares of its width.
    void AddChartTables(const std::vector<std::string>& listTitles);
    // The joined "Video/Power" title of the tilt and scan lists and the tilt Mark row.
    std::string VideoPowerTitle() const;
    // The "File Name" and "File Date" rows of a Parameters table.
    void AddFileRows(PaneTable& table) const;
    // One channel's texts as the scan and limit panes show them: video and audio for an
    // analogue channel, power (in first) for a digital one.
    struct ChannelLevels {
        std::string channel, type, first, second;
        bool hasType = false;
        bool analogue = false;
        int planIndex = -1;
        EntryInfo entry;
        std::optional<double> firstValue, secondValue; // dBuV; empty where "---" is shown
    };
    // Replaces the Mark rows with the channel's rows.
    void SetChannelMarkRows(const ChannelLevels& row);
    // Header texts as shown (converted from the meter's 8-bit text).
    std::string ShownFileName() const;
    std::string ShownDateTime() const;

    virtual void Fill() = 0;
    virtual void FillMark(long position);
    // The texts the export writes, before the text-mode conversion.
    virtual std::string ExportText() const = 0;

    std::vector<PaneTable> m_tables;
    std::string m_fileNameText;

private:
    _tagFileDataExt m_element{};
    MeasurementFile m_file{m_element};
    bool m_hasFile = false;
    bool m_incomplete = false;
    int m_base;
    std::string m_levelUnit;
};

// A new pane of the section, initialised (columns in place, no file shown).
std::unique_ptr<AnalysisPane> MakeAnalysisPane(PaneSection section, int languageBase,
                                               std::string levelUnit);

} // namespace qm
