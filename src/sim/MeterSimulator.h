#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace qm::sim {

// The meter's side of the wire: takes one complete request frame and gives the reply frame
// (empty when the meter stays silent). Holds what a meter keeps between requests: its files,
// its five plan slots, units, shutdown time, date format and clock.
class MeterSimulator {
public:
    using Bytes = std::vector<std::uint8_t>;

    // model: one of "7100Q", "7100B", "7100T", "7100D", "7100T2".
    explicit MeterSimulator(std::string model);

    static bool IsKnownModel(const std::string& model);
    // 0 for Q and B, 1 for T and D, 2 for T2. The simulator keeps its own copy of the kinds and
    // their sizes on purpose, rather than the program's table (measurement/MeterKind.h): a
    // mistake in that table then shows as a disagreement with the simulator instead of being
    // repeated on both sides of the line.
    static int KindOf(const std::string& model);
    // 20 or 28 bytes per plan entry on the wire.
    static std::size_t EntrySize(int kind) { return kind == 0 ? 20 : 28; }
    static std::size_t FileSize(int kind) { return kind == 0 ? 9238 : 10598; }

    const std::string& Model() const { return m_model; }
    int Kind() const { return m_kind; }

    // Files served by 0x6A/0x6B: each holds at least FileSize(Kind()) bytes (shorter ones
    // are padded with zeros).
    void SetFiles(std::vector<Bytes> files);

    // A plan slot (0-4) holds raw entries in the kind's layout; an empty list is no plan.
    void SetPlan(int slot, std::vector<Bytes> entries);
    const std::vector<Bytes>& Plan(int slot) const {
        return m_plans.at(static_cast<std::size_t>(slot));
    }
    int CurrentPlan() const { return m_currentPlan; }

    // The answer to one complete, check-verified request frame.
    Bytes Handle(const Bytes& request);

    // The screen as the meter sends it: 240 rows of 320 pixels, bottom row first, blue
    // green red; drawn from the present state (into the storage given, when there is one).
    std::vector<std::uint8_t> ScreenPixels(std::vector<std::uint8_t> storage = {}) const;
    // Send the screen blocks in a scrambled order, as a meter may.
    void SetScreenScrambled(bool scrambled) { m_screenScrambled = scrambled; }

    // Settings the meter keeps.
    int LevelUnit() const { return m_levelUnit; }
    int TemperatureUnit() const { return m_temperatureUnit; }
    int ShutdownCode() const { return m_shutdown; }
    int DateFormat() const { return m_dateFormat; }
    // The meter's clock now (the host clock shifted by what the meter was last set to).
    std::time_t ClockNow() const;

    // Frame helpers shared with the line driver.
    static std::uint8_t TwosComplementCheck(const std::uint8_t* data, std::size_t length);
    // True when the last byte makes the frame sum zero or equals the plain sum.
    static bool CheckAccepted(const Bytes& frame);

private:
    Bytes Reply(std::uint8_t code, std::size_t length, const Bytes& data) const;
    Bytes FileBlock();
    Bytes PlanFrame(bool first);
    Bytes WritePlanFrame(const Bytes& request);
    Bytes ScreenBlock(bool first);

    std::string m_model;
    int m_kind = 0;
    std::vector<Bytes> m_files;
    std::array<std::vector<Bytes>, 5> m_plans;
    int m_currentPlan = 0;

    int m_levelUnit = 0;
    int m_temperatureUnit = 0;
    int m_shutdown = 4;
    int m_dateFormat = 2;
    long long m_clockOffset = 0; // seconds added to the host clock

    // File transfer in progress.
    std::size_t m_file = 0;
    int m_fileBlock = 0; // next block, 0-based
    bool m_fileOpen = false;

    // Plan read in progress.
    int m_readSlot = 0;
    int m_readFrame = 0; // next frame, 0-based

    // Plan write in progress.
    int m_writeSlot = -1;
    int m_writeFrames = 0;
    int m_writeCount = 0;
    int m_writeNext = 0; // next frame number expected, 1-based
    std::vector<Bytes> m_writeEntries;

    // Screen transfer in progress.
    std::vector<std::uint8_t> m_screen;
    // What the screen shows, for repainting only when it changed: the clock's minute and the
    // settings on the status line (the model never changes).
    struct ScreenState {
        std::time_t minute = -1;
        int plan = -1, levelUnit = -1, temperatureUnit = -1, shutdown = -1, dateFormat = -1;
        bool operator==(const ScreenState&) const = default;
    };
    ScreenState ShownState() const;
    ScreenState m_screenState;
    int m_screenSent = 0;
    bool m_screenScrambled = false;
};

} // namespace qm::sim
