// The platform part of watching file descriptors for a plug-in's editor
// (CLAP's fd support, the VST 3 run loop): whether descriptors can be watched
// here, and which of the given ones are ready now. Nothing waits: the
// editor's window loop already sets the pace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fd_ready {
// The same bits as CLAP's posix-fd flags, so its host passes them through.
constexpr uint32_t kRead = 1;
constexpr uint32_t kWrite = 2;
constexpr uint32_t kError = 4;
}  // namespace fd_ready

bool fdWatchingAvailable();
// One entry per descriptor: the fd_ready bits it has now, 0 for none.
std::vector<uint32_t> readyFds(const std::vector<int>& fds, const std::vector<uint32_t>& interest);
