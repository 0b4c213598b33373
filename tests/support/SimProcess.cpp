#include "support/SimProcess.h"

#include <csignal>
#include <cstdlib>
#include <fstream>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TestSupport.h"

extern char** environ;

namespace qm::test {

SimProcess::SimProcess(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string program = BinPath("qm7100-sim");
    std::vector<std::string> store{program};
    store.insert(store.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : store)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = ::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        m_pid = -1;
        ::close(out[0]);
        return;
    }
    // The first line is the path; give the simulator ten seconds to start on a busy machine.
    std::string line;
    char c = 0;
    for (;;) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0 || ::read(out[0], &c, 1) != 1 || c == '\n')
            break;
        line += c;
    }
    ::close(out[0]);
    m_path = line;
}

SimProcess::~SimProcess() {
    Stop();
}

int SimProcess::Stop() {
    if (m_pid <= 0)
        return -1;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SimProcess::Kill() {
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

std::vector<std::string> LoggedFrames(const std::string& logPath) {
    std::vector<std::string> frames;
    std::ifstream in(logPath);
    std::string line;
    while (std::getline(in, line))
        frames.push_back(line);
    return frames;
}

int LoggedCode(const std::string& frame) {
    if (frame.size() < 14)
        return -1;
    return static_cast<int>(std::strtol(frame.substr(12, 2).c_str(), nullptr, 16));
}

std::vector<int> LoggedCodes(const std::string& logPath) {
    std::vector<int> codes;
    for (const std::string& frame : LoggedFrames(logPath))
        codes.push_back(LoggedCode(frame));
    return codes;
}

} // namespace qm::test
