#pragma once

// A qm7100-sim child for the benchmarks that talk to it, and the bytes an upload puts on the
// line, for the line-rate bound.
#include <csignal>
#include <string>
#include <vector>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "link/MeterCommands.h"
#include "measurement/MeterKind.h"

extern char** environ;

namespace qm::bench {

// The simulator beside this program (both live in the build's bin folder).
inline std::string SimulatorPath() {
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string("./x");
    return dir.substr(0, dir.rfind('/')) + "/qm7100-sim";
}

struct Simulator {
    pid_t pid = -1;
    std::string path;
};

// Starts the simulator with the options and reads its pseudo-terminal's path from its first
// line; the path is empty when it did not start.
inline Simulator StartSimulator(const std::vector<std::string>& args) {
    Simulator sim;
    int out[2];
    if (::pipe(out) != 0)
        return sim;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> store{SimulatorPath()};
    store.insert(store.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : store)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&sim.pid, store[0].c_str(), &actions, nullptr, argv.data(), environ) != 0)
        sim.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char c = 0;
    pollfd p{out[0], POLLIN, 0};
    while (sim.pid > 0 && ::poll(&p, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n')
        sim.path += c;
    ::close(out[0]);
    return sim;
}

inline void StopSimulator(Simulator& sim) {
    if (sim.pid <= 0)
        return;
    ::kill(sim.pid, SIGTERM);
    ::waitpid(sim.pid, nullptr, 0);
    sim.pid = -1;
}

// Bytes both ways of an upload of files files of the kind.
inline long WireBytes(int kind, int files) {
    const long blocks = static_cast<long>((qm::KindFileSize(kind) + 63) / 64);
    long bytes = 2 * (6 + 6);                            // two handshakes and their echoes
    bytes += 6 + static_cast<long>(kReplyModel);         // model
    bytes += 6 + static_cast<long>(kReplyFileCount);     // file count
    bytes += files * (7 + 72 + (blocks - 1) * (6 + 72)); // file blocks
    bytes += 6 + static_cast<long>(kReplyRelease);       // release
    return bytes;
}

} // namespace qm::bench
