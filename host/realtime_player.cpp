#include "host/realtime_player.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "host/audio_file.h"
#include "host/errors.h"

StereoSignal loadPlaySignal(const std::string& source, double demoRate) {
    if (source == "demo") return makeDemoSignal(demoRate);
    AudioFileReader reader(source);
    StereoSignal signal;
    signal.sampleRate = reader.sampleRate();
    std::vector<float> left(65536), right(65536);
    for (size_t got; (got = reader.read(left.data(), right.data(), left.size())) > 0;) {
        signal.left.insert(signal.left.end(), left.begin(), left.begin() + static_cast<ptrdiff_t>(got));
        signal.right.insert(signal.right.end(), right.begin(), right.begin() + static_cast<ptrdiff_t>(got));
    }
    if (signal.frames() == 0) throw HostError(source + " holds no sound to play.");
    return signal;
}

RealtimePlayer::RealtimePlayer(LoadedPlugin& target, StereoSignal sound, double sampleRate, int32_t blockFrames)
    : plugin(target), signal(std::move(sound)), rate(sampleRate), block(blockFrames), thread([this] { play(); }) {}

RealtimePlayer::~RealtimePlayer() {
    stopping.store(true, std::memory_order_relaxed);
    thread.join();
}

void RealtimePlayer::play() {
    using Clock = std::chrono::steady_clock;
    std::vector<float> outLeft(static_cast<size_t>(block)), outRight(outLeft.size());
    size_t position = 0;
    auto due = Clock::now();
    while (!stopping.load(std::memory_order_relaxed)) {
        const size_t frames = std::min(static_cast<size_t>(block), signal.frames() - position);
        plugin.process(signal.left.data() + position, signal.right.data() + position, outLeft.data(),
                       outRight.data(), static_cast<int32_t>(frames));
        processed.fetch_add(1, std::memory_order_relaxed);
        position = (position + frames) % signal.frames();
        due += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(frames / rate));
        // After a long wait (the editor held a call) the pace starts afresh
        // instead of catching up in a burst.
        if (Clock::now() - due > std::chrono::milliseconds(200)) due = Clock::now();
        std::this_thread::sleep_until(due);
    }
}
