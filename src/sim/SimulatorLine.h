#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/FaultPlan.h"
#include "sim/MeterSimulator.h"

namespace qm::sim {

// The meter's end of the serial line: a pseudo-terminal whose master this object keeps open
// for its whole life, so that clients may open and close the slave as often as they like.
// Requests are cut into frames, answered by the meter model, and the replies are paced at the
// baud rate as a real line would deliver them.
class SimulatorLine {
public:
    SimulatorLine(MeterSimulator& meter, FaultPlan& faults);
    ~SimulatorLine();
    SimulatorLine(const SimulatorLine&) = delete;
    SimulatorLine& operator=(const SimulatorLine&) = delete;

    // Creates the pseudo-terminal in raw mode; false (with errno set) on failure.
    bool Open();
    const std::string& SlavePath() const { return m_slavePath; }

    void SetBaud(long baud) { m_baud = baud > 0 ? baud : 115200; }
    void SetTurnaround(std::chrono::microseconds t) { m_turnaround = t; }
    // Models a USB serial adapter between meter and computer: full packets pass at once, the
    // rest of a reply waits for the adapter's latency timer (0: a plain line).
    void SetAdapterLatency(std::chrono::milliseconds latency) { m_latency = latency; }
    // Appends one line per frame received ("55 AA 01 06 2B CF").
    void SetLog(std::FILE* log) { m_log = log; }

    // Serves until stop becomes true or the line is hung up by a fault.
    void Run(const volatile bool& stop);

private:
    using Clock = std::chrono::steady_clock;

    void Receive(const std::uint8_t* data, std::size_t length);
    void TakeFrames();
    void Answer(const std::vector<std::uint8_t>& request);
    void Send(const std::vector<std::uint8_t>& reply, Clock::time_point start);
    void SendThroughAdapter(const std::vector<std::uint8_t>& reply, Clock::time_point start);
    bool WriteAll(const std::uint8_t* data, std::size_t length);
    void Log(const std::vector<std::uint8_t>& frame, const char* note);
    Clock::duration LineTime(std::size_t bytes) const;

    MeterSimulator& m_meter;
    FaultPlan& m_faults;
    int m_master = -1;
    std::string m_slavePath;
    long m_baud = 115200;
    std::chrono::microseconds m_turnaround{50};
    std::chrono::milliseconds m_latency{0};
    std::FILE* m_log = nullptr;
    bool m_hungUp = false;
    const volatile bool* m_stop = nullptr;

    std::vector<std::uint8_t> m_pending;
    Clock::time_point m_frameStart; // when the first byte of the pending frame came in
};

} // namespace qm::sim
