// The module's exports: the factory, and the load and unload notices of
// each system. Nothing needs setting up, so the notices only keep count (a
// scanner and a host may load the module twice in one process).
#include <atomic>

#include "core/host_entry_guard.h"
#include "vst3/vst3_abi.h"
#include "vst3/vst3_factory.h"

namespace {

std::atomic<int> loadCount{0};

bool noteLoad() {
    loadCount.fetch_add(1, std::memory_order_relaxed);
    return true;
}

bool noteUnload() {
    int count = loadCount.load(std::memory_order_relaxed);
    while (count > 0 && !loadCount.compare_exchange_weak(count, count - 1, std::memory_order_relaxed)) {
    }
    return true;
}

}  // namespace

extern "C" {

VVST3_EXPORT vvst3::IPluginFactory* VVST3_CALL GetPluginFactory() {
    return guardedHostEntry(static_cast<vvst3::IPluginFactory*>(nullptr), [] { return vst3Factory(); });
}

#if defined(_WIN32)
VVST3_EXPORT bool InitDll() { return noteLoad(); }
VVST3_EXPORT bool ExitDll() { return noteUnload(); }
#else
VVST3_EXPORT bool ModuleEntry(void*) { return noteLoad(); }
VVST3_EXPORT bool ModuleExit() { return noteUnload(); }
#endif

}  // extern "C"
