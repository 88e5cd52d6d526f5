// The analyser's measurement: a sine shows its peak in the band at its
// frequency, at its level, at the ends of the range and in the middle.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/spectrum_analysis.h"

namespace {

// A source that hands over a sine on the input and half of it on the output.
class SineSource : public AnalysisSource {
public:
    SineSource(double hz, double amplitude, double rate) : hz(hz), amplitude(amplitude), rate(rate) {}
    void setListening(bool) override {}
    uint32_t read(AnalysisFrame* frames, uint32_t capacity) override {
        const uint32_t count = std::min(capacity, pending);
        for (uint32_t i = 0; i < count; ++i, ++n) {
            const float x = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * n / rate));
            frames[i] = {x, 0.5f * x};
        }
        pending -= count;
        return count;
    }
    double sampleRate() const override { return rate; }
    uint32_t pending = 0;

private:
    double hz, amplitude, rate;
    uint64_t n = 0;
};

int loudestBand(const float* levels) {
    int best = 0;
    for (int k = 1; k < SpectrumAnalysis::kBands; ++k)
        if (levels[k] > levels[best]) best = k;
    return best;
}

TEST(SpectrumAnalysis, ASineShowsItsPeakAtItsFrequencyAndLevel) {
    for (const double hz : {25.0, 1000.0, 16000.0}) {
        for (const double rate : {44100.0, 96000.0}) {
            SineSource source(hz, 0.5, rate);
            SpectrumAnalysis analysis(source);
            uint32_t now = 0;
            for (int tick = 0; tick < 40; ++tick) {  // a second of 25 ms idles
                source.pending = static_cast<uint32_t>(rate * 0.025);
                analysis.update(now += 25);
            }
            const int band = loudestBand(analysis.inputLevels());
            EXPECT_NEAR(std::log2(BandFilterBank::centreFrequency(band) / hz), 0.0, 1.0 / 12.0) << hz << " Hz";
            EXPECT_NEAR(analysis.inputLevels()[band], -6.0, 0.5) << hz << " Hz at " << rate;
            EXPECT_NEAR(analysis.outputLevels()[band], -12.0, 0.5) << hz << " Hz at " << rate;
            // A sixth-octave band two octaves away hears the sine far below.
            const int away = band >= 12 ? band - 12 : band + 12;
            EXPECT_LT(analysis.inputLevels()[away], -40.0f) << hz << " Hz";

            // Once it stops the levels fall with a 300 ms time constant
            // (8.7 dB) and then rest: no more redraws.
            const float before = analysis.inputLevels()[band];
            EXPECT_TRUE(analysis.update(now += 300));
            EXPECT_NEAR(analysis.inputLevels()[band], before - 8.69f, 0.3f);
            for (int tick = 0; tick < 200; ++tick) analysis.update(now += 50);
            EXPECT_FALSE(analysis.update(now += 50));
        }
    }
}

}  // namespace
