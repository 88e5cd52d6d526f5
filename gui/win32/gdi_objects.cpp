#include "gdi_objects.h"

#include <atomic>

namespace {
// Read by tests on another thread than the one drawing, hence atomic.
std::atomic<int32_t> liveObjects{0};
}  // namespace

void noteGdiObjectCreated() { liveObjects.fetch_add(1, std::memory_order_relaxed); }

void deleteGdiObject(HGDIOBJ obj) {
    if (!obj) return;
    if (DeleteObject(obj)) liveObjects.fetch_sub(1, std::memory_order_relaxed);
}

HDC createMemoryDc(HDC compatibleWith) { return countGdiObject(CreateCompatibleDC(compatibleWith)); }

void deleteMemoryDc(HDC dc) {
    if (!dc) return;
    if (DeleteDC(dc)) liveObjects.fetch_sub(1, std::memory_order_relaxed);
}

int32_t liveGdiObjectCount() { return liveObjects.load(std::memory_order_relaxed); }
