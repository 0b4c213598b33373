#include "support/PtyPeer.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace qm::test {

Bytes ReplyFrame(std::uint8_t code, const Bytes& data, std::size_t total, bool plainSum) {
    Bytes frame(total - 1, 0);
    const Bytes head{0x55, 0xAA, 0x01, static_cast<std::uint8_t>(total & 0xFF), code};
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = i < head.size()                 ? head[i]
                   : i - head.size() < data.size() ? data[i - head.size()]
                                                   : 0;
    unsigned sum = 0;
    for (std::uint8_t b : frame)
        sum += b;
    frame.push_back(static_cast<std::uint8_t>(plainSum ? sum : 0x100 - (sum & 0xFF)));
    return frame;
}

PtyPeer::PtyPeer(Script script) : m_script(std::move(script)) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) < 0 || ::unlockpt(m_master) < 0)
        std::abort();
    m_slavePath = ::ptsname(m_master);
    termios t{};
    ::tcgetattr(m_master, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(m_master, TCSANOW, &t);
    m_thread = std::thread([this] { Run(); });
}

PtyPeer::~PtyPeer() {
    m_stop = true;
    m_thread.join();
    HangUp();
}

void PtyPeer::HangUp() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

std::vector<Bytes> PtyPeer::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void PtyPeer::Run() {
    Bytes pending;
    int index = 0;
    while (!m_stop) {
        int fd;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            fd = m_master;
        }
        if (fd < 0)
            return;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        if (!(p.revents & POLLIN)) {
            // No slave open yet: the master reports a hang-up until the port opens it.
            ::usleep(2000);
            continue;
        }
        std::uint8_t buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            ::usleep(2000);
            continue;
        }
        pending.insert(pending.end(), buffer, buffer + n);
        // Requests are whole frames: their length is in byte 3.
        while (pending.size() >= 4 && pending[3] >= 4 && pending.size() >= pending[3]) {
            Bytes request(pending.begin(), pending.begin() + pending[3]);
            pending.erase(pending.begin(), pending.begin() + pending[3]);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests.push_back(request);
            }
            const Bytes reply = m_script(request, index++);
            std::size_t sent = 0;
            while (sent < reply.size()) {
                int out;
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    out = m_master;
                }
                if (out < 0)
                    return;
                const ssize_t w = ::write(out, reply.data() + sent, reply.size() - sent);
                if (w > 0)
                    sent += static_cast<std::size_t>(w);
                else if (w < 0 && errno != EAGAIN && errno != EINTR)
                    break;
            }
        }
    }
}

} // namespace qm::test
