#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace qm::test {

// A qm7100-sim child process for the length of a scope: started with the given options, its
// pseudo-terminal path taken from the first line it prints, stopped with SIGTERM at the end.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The pseudo-terminal, empty when the simulator did not start.
    const std::string& Path() const { return m_path; }
    // Stops the simulator and returns its exit status.
    int Stop();
    // Kills the simulator without warning, as a meter pulled off the cable: the
    // pseudo-terminal hangs up.
    void Kill();

private:
    pid_t m_pid = -1;
    std::string m_path;
};

// The frames a simulator logged (--log FILE), one string of hex bytes each ("55 AA 01 06 2B CF").
std::vector<std::string> LoggedFrames(const std::string& logPath);
// The command code of a logged frame (its fifth byte), -1 when too short.
int LoggedCode(const std::string& frame);
// The command codes of every frame a simulator logged, in order.
std::vector<int> LoggedCodes(const std::string& logPath);

} // namespace qm::test
