// Descriptor readiness with poll() and a zero timeout.
#include <poll.h>

#include "host/fd_watch.h"

bool fdWatchingAvailable() { return true; }

std::vector<uint32_t> readyFds(const std::vector<int>& fds, const std::vector<uint32_t>& interest) {
    std::vector<pollfd> polled;
    for (size_t i = 0; i < fds.size(); ++i) {
        short events = 0;
        if ((interest[i] & fd_ready::kRead) != 0) events |= POLLIN;
        if ((interest[i] & fd_ready::kWrite) != 0) events |= POLLOUT;
        polled.push_back({fds[i], events, 0});
    }
    std::vector<uint32_t> ready(fds.size(), 0);
    if (poll(polled.data(), polled.size(), 0) <= 0) return ready;
    for (size_t i = 0; i < polled.size(); ++i) {
        const short got = polled[i].revents;
        if ((got & POLLIN) != 0) ready[i] |= fd_ready::kRead;
        if ((got & POLLOUT) != 0) ready[i] |= fd_ready::kWrite;
        if ((got & (POLLERR | POLLHUP | POLLNVAL)) != 0) ready[i] |= fd_ready::kError;
    }
    return ready;
}
