#include "audio_path.h"

#include <cstdint>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

#if defined(__x86_64__) || defined(__i386__)
bool detectAvx() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const bool avx = (ecx & bit_AVX) != 0;
    const bool osSavesState = (ecx & bit_OSXSAVE) != 0;
    if (!avx || !osSavesState) return false;
    // XCR0 bits 1 and 2: the system saves the SSE and the upper YMM halves.
    uint32_t low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (low & 0x6u) == 0x6u;
}
#else
bool detectAvx() { return false; }
#endif

}  // namespace

bool processorRunsAvx() {
    static const bool available = detectAvx();
    return available;
}

bool audioPathAvailable(AudioPath path) { return path == AudioPath::Sse2 || processorRunsAvx(); }

AudioPath chosenAudioPath() {
    if (const char* requested = std::getenv(kAudioPathVariable)) {
        const std::optional<AudioPath> named = audioPathNamed(requested);
        if (named && audioPathAvailable(*named)) return *named;
    }
    return processorRunsAvx() ? AudioPath::Avx : AudioPath::Sse2;
}

const char* audioPathName(AudioPath path) { return path == AudioPath::Avx ? "avx" : "sse2"; }

const char* audioPathDescription(AudioPath path) {
    if (path == AudioPath::Sse2) return "sse2 (128-bit SSE2)";
#if defined(__x86_64__)
    return "avx (256-bit AVX where it pays, the rest VEX-encoded)";
#else
    return "avx (128-bit, VEX-encoded)";
#endif
}

std::optional<AudioPath> audioPathNamed(std::string_view name) {
    if (name == "sse2") return AudioPath::Sse2;
    if (name == "avx") return AudioPath::Avx;
    return std::nullopt;
}
