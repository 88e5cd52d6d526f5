#include "host/spectrum_analysis.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Half the width of a component's main lobe under the window (4 bins), and a
// bin to spare for a component between two bins.
constexpr int kLobeHalfWidth = 5;
// Bins this far above the median count as components, not as noise.
constexpr double kComponentAboveFloorDb = 10.0;

std::vector<double> blackmanHarris(size_t length) {
    std::vector<double> window(length);
    for (size_t n = 0; n < length; ++n) {
        const double t = 2.0 * kPi * static_cast<double>(n) / static_cast<double>(length);
        window[n] = 0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) - 0.01168 * std::cos(3 * t);
    }
    return window;
}

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// |X_k| for k = 0 .. N/2 of the windowed samples.
std::vector<double> magnitudes(const std::vector<double>& samples, const std::vector<double>& window) {
    const int n = static_cast<int>(samples.size());
    std::unique_ptr<double, FftwFree> in(fftw_alloc_real(n));
    std::unique_ptr<fftw_complex, FftwFree> out(fftw_alloc_complex(n / 2 + 1));
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.get(), out.get(), FFTW_ESTIMATE);
    for (int i = 0; i < n; ++i) in.get()[i] = samples[i] * window[i];
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    std::vector<double> result(n / 2 + 1);
    for (int k = 0; k <= n / 2; ++k) result[k] = std::hypot(out.get()[k][0], out.get()[k][1]);
    return result;
}

}  // namespace

double ToneSpectrum::aliasToHarmonicDb() const { return 10.0 * std::log10(aliasPower / harmonicPower); }

double ToneSpectrum::harmonicLevelDb(int k) const {
    // Recomputed from the levels: a lobe's bins hold its power.
    const long centre = std::lround(k * toneHz / binHz);
    if (centre + kLobeHalfWidth >= static_cast<long>(levelDb.size())) return -400.0;
    double power = 0.0;
    for (long b = std::max(0L, centre - kLobeHalfWidth); b <= centre + kLobeHalfWidth; ++b)
        power += std::pow(10.0, levelDb[b] / 10.0);
    return 10.0 * std::log10(power * lobePowerScale);
}

ToneSpectrum analyseTone(const std::vector<double>& samples, double sampleRate, double toneHz) {
    const std::vector<double> window = blackmanHarris(samples.size());
    double windowSum = 0.0, windowSquares = 0.0;
    for (double w : window) {
        windowSum += w;
        windowSquares += w * w;
    }
    const std::vector<double> magnitude = magnitudes(samples, window);
    const size_t bins = magnitude.size();

    ToneSpectrum s;
    s.sampleRate = sampleRate;
    s.toneHz = toneHz;
    s.binHz = sampleRate / static_cast<double>(samples.size());
    // Peak level: a bin-centred sine of amplitude A reads A * sum(w) / 2.
    // Summed over its lobe, (2 / (N sum(w^2))) |X|^2 gives the sine's A^2 / 2;
    // lobePowerScale turns summed peak levels into that, relative to 1/2.
    s.lobePowerScale = (windowSum * windowSum / 4.0) * 2.0 / (static_cast<double>(samples.size()) * windowSquares) /
                       0.5;
    s.levelDb.resize(bins);
    s.kind.assign(bins, BinKind::Floor);
    for (size_t k = 0; k < bins; ++k)
        s.levelDb[k] = 20.0 * std::log10(std::max(magnitude[k], 1e-300) / (windowSum / 2.0));

    std::vector<double> sorted = s.levelDb;
    std::nth_element(sorted.begin(), sorted.begin() + bins / 2, sorted.end());
    s.floorDb = sorted[bins / 2];

    for (long h = 0; h * toneHz <= sampleRate / 2.0; ++h) {
        const long centre = std::lround(h * toneHz / s.binHz);
        for (long b = std::max(0L, centre - kLobeHalfWidth); b <= centre + kLobeHalfWidth && b < long(bins); ++b)
            s.kind[b] = BinKind::Harmonic;
    }
    for (size_t k = 0; k < bins; ++k) {
        const double power = std::pow(10.0, s.levelDb[k] / 10.0) * s.lobePowerScale * 0.5;
        if (s.kind[k] == BinKind::Harmonic) {
            s.harmonicPower += power;
        } else if (s.levelDb[k] > s.floorDb + kComponentAboveFloorDb) {
            s.kind[k] = BinKind::Alias;
            s.aliasPower += power;
        }
    }
    return s;
}
