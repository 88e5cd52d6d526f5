// Windows has no descriptors for a plug-in to hand over: its editors get
// their messages through their own window procedures.
#include "host/fd_watch.h"

bool fdWatchingAvailable() { return false; }

std::vector<uint32_t> readyFds(const std::vector<int>& fds, const std::vector<uint32_t>&) {
    return std::vector<uint32_t>(fds.size(), 0);
}
