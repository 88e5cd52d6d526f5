#include "brick_wall_reference.h"

#include <fftw3.h>

#include <cmath>
#include <complex>

#include "dsp/band_split_filter.h"
#include "dsp/parameter_index.h"
#include "dsp/parameter_laws.h"
#include "dsp/shaper.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

using Spectrum = std::vector<std::complex<double>>;

Spectrum forward(std::vector<double> x) {
    Spectrum out(x.size() / 2 + 1);
    fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(x.size()), x.data(),
                                          reinterpret_cast<fftw_complex*>(out.data()), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    return out;
}

// The real signal of `length` samples whose spectrum is `spectrum` (bins
// beyond its size are zero), scaled so that forward() then inverse() is the
// identity for the original length.
std::vector<double> inverse(Spectrum spectrum, size_t length, size_t originalLength) {
    spectrum.resize(length / 2 + 1);
    std::vector<double> out(length);
    fftw_plan plan = fftw_plan_dft_c2r_1d(static_cast<int>(length), reinterpret_cast<fftw_complex*>(spectrum.data()),
                                          out.data(), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    for (double& v : out) v /= static_cast<double>(originalLength);
    return out;
}

BandSplitFilter designed(float value, double rate) {
    BandSplitFilter filter;
    filter.design(laws::designableFrequency(laws::crossoverFrequency(value), rate), laws::kCrossoverQ, rate);
    return filter;
}

// The three bands of the tone after the crossovers, in steady state (a
// second of settling, then one period of `frames`).
std::vector<std::vector<double>> bands(const ReferenceSetup& s) {
    BandSplitFilter cross1 = designed(s.parameters[kCross1], s.sampleRate);
    BandSplitFilter cross2 = designed(s.parameters[kCross2], s.sampleRate);
    std::vector<std::vector<double>> out(3, std::vector<double>(s.frames));
    const size_t settle = static_cast<size_t>(s.sampleRate);
    for (size_t n = 0; n < settle + s.frames; ++n) {
        const double x = s.amplitude * std::sin(2.0 * kPi * s.toneHz * static_cast<double>(n) / s.sampleRate);
        cross1.processSample(x);
        cross2.processSample(cross1.highOutput());
        if (n < settle) continue;
        out[0][n - settle] = cross1.lowOutput();
        out[1][n - settle] = cross2.lowOutput();
        out[2][n - settle] = cross2.highOutput();
    }
    return out;
}

// One band shaped at `factor` times the rate with ideal filters both ways.
std::vector<double> shapedIdeally(const std::vector<double>& band, int factor, double drive, float type) {
    const size_t n = band.size();
    std::vector<double> raised = inverse(forward(band), n * factor, n);
    DcBlockerState unused;  // Saturation3's blocker only drifts over such a span
    for (double& x : raised) {
        double left = x, right = x;
        shapeBand(left, right, 1.0, 1.0, drive, type, unused, shaperTables());
        x = left;
    }
    Spectrum spectrum = forward(raised);
    spectrum.resize(n / 2);  // the brick wall, just below half the host rate
    return inverse(spectrum, n, n * factor);
}

// The post filter on a periodic band: one period to settle, the next kept.
std::vector<double> postFiltered(const std::vector<double>& band, float cross, double rate) {
    BandSplitFilter filter = designed(cross, rate);
    std::vector<double> out(band.size());
    for (int pass = 0; pass < 2; ++pass)
        for (size_t n = 0; n < band.size(); ++n) {
            filter.processSample(band[n]);
            out[n] = filter.lowOutput();
        }
    return out;
}

}  // namespace

std::vector<double> brickWallReference(const ReferenceSetup& s, int factor) {
    const auto split = bands(s);
    std::vector<double> mix(s.frames, 0.0);
    const bool post = laws::postFilterOn(s.parameters[kPFilter]);
    for (int b = 0; b < 3; ++b) {
        const double drive = laws::drive(s.parameters[kGain1 + b]) * laws::balanceLeft(s.parameters[kBalance1 + b]);
        std::vector<double> shaped = shapedIdeally(split[b], factor, drive, s.parameters[kType1 + b]);
        if (post && b < 2) shaped = postFiltered(shaped, s.parameters[b == 0 ? kCross1 : kCross2], s.sampleRate);
        const double level = laws::level(s.parameters[kLevel1 + b]) * laws::level(s.parameters[kMaster]);
        for (size_t n = 0; n < s.frames; ++n) mix[n] += level * shaped[n];
    }
    return mix;
}
