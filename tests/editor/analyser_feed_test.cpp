// The audio thread's hand-over to the analyser: wait-free between two
// threads (run under ThreadSanitizer), frames intact and in order, and no
// work at all while no editor listens.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "core/effect_core.h"

namespace {

TEST(AnalyserFeed, HandsFramesOverIntactAndInOrderBetweenTwoThreads) {
    AnalyserFeed feed;
    feed.setListening(true);
    constexpr int32_t kBlock = 256;
    constexpr uint32_t kFrames = 2'000'000;
    std::atomic<bool> done{false};

    std::thread audio([&] {
        std::vector<float> left(kBlock), right(kBlock);
        float* channels[2] = {left.data(), right.data()};
        for (uint32_t start = 0; start < kFrames; start += kBlock) {
            // Every frame number is a float exactly (below 2^24).
            for (int32_t i = 0; i < kBlock; ++i) left[i] = right[i] = static_cast<float>(start + i);
            const uint32_t taken = feed.takeInput(channels, kBlock, 48000.0f);
            // Processed in place: the output overwrites the input.
            for (int32_t i = 0; i < kBlock; ++i) left[i] = right[i] = -left[i];
            feed.takeOutput(channels, taken);
        }
        done.store(true);
    });

    AnalysisFrame frames[1000];
    uint32_t received = 0;
    float last = -1.0f;
    bool intact = true;
    for (bool finished = false; !finished;) {
        finished = done.load();
        for (uint32_t n; (n = feed.read(frames, 1000)) > 0; received += n)
            for (uint32_t i = 0; i < n; ++i) {
                // Frames a full ring dropped (a slow reader, as under the
                // sanitizers) leave a gap, never a mix-up.
                intact &= frames[i].output == -frames[i].input && frames[i].input > last;
                last = frames[i].input;
            }
    }
    audio.join();
    EXPECT_TRUE(intact);
    EXPECT_GT(received, 0u);
    EXPECT_EQ(received, feed.framesFed());
    EXPECT_EQ(feed.sampleRate(), 48000.0);
}

TEST(AnalyserFeed, TheAudioPathFeedsOnlyWhileAnEditorListens) {
    EffectCore core;
    std::vector<float> left(512, 0.25f), right(512, 0.25f);
    float* channels[2] = {left.data(), right.data()};
    core.processReplacing(channels, channels, 512);
    EXPECT_EQ(core.analyser().framesFed(), 0u);

    core.analyser().setListening(true);
    std::fill(left.begin(), left.end(), 0.25f);
    std::fill(right.begin(), right.end(), 0.25f);
    core.processReplacing(channels, channels, 512);
    EXPECT_EQ(core.analyser().framesFed(), 512u);
    AnalysisFrame frame;
    ASSERT_EQ(core.analyser().read(&frame, 1), 1u);
    EXPECT_EQ(frame.input, 0.25f) << "the input as it was before the block ran in place";

    core.analyser().setListening(false);
    core.processReplacing(channels, channels, 512);
    EXPECT_EQ(core.analyser().framesFed(), 512u);
}

}  // namespace
