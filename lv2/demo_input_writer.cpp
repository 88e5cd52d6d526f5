// Writes the built-in demo signal to a 32-bit float stereo WAV file, so hosts
// that only take files (lv2apply) render exactly what velmora-host renders.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/audio_file.h"
#include "host/demo_signal.h"
#include "host/errors.h"

namespace {

int usage(const char* program) {
    std::fprintf(stderr, "Usage: %s OUT.wav [--rate HZ] [--seconds S]\n", program);
    return 2;
}

bool parsePositive(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage(argv[0]);
    std::string outputPath;
    double rate = 44100.0;
    double seconds = kDemoSeconds;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rate") == 0 && i + 1 < argc) {
            if (!parsePositive(argv[++i], rate)) return usage(argv[0]);
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            if (!parsePositive(argv[++i], seconds)) return usage(argv[0]);
        } else if (outputPath.empty() && argv[i][0] != '-') {
            outputPath = argv[i];
        } else {
            return usage(argv[0]);
        }
    }
    if (outputPath.empty()) return usage(argv[0]);

    try {
        const StereoSignal signal = makeDemoSignal(rate);
        const size_t frames = std::min(signal.frames(), static_cast<size_t>(seconds * rate));
        AudioFileWriter writer(outputPath, rate);
        writer.write(signal.left.data(), signal.right.data(), frames);
        writer.commit();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
