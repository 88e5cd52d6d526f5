#include "host/average_spectrum.h"

#include <fftw3.h>

#include <cmath>
#include <stdexcept>

namespace {

constexpr size_t kWindow = 4096;
constexpr double kPi = 3.14159265358979323846;

}  // namespace

AverageSpectrum averageSpectrum(const std::vector<float>& left, const std::vector<float>& right, double sampleRate) {
    if (left.size() < kWindow || right.size() != left.size())
        throw std::invalid_argument("averageSpectrum needs two equally long channels of at least one window");
    std::vector<double> window(kWindow);
    double windowPower = 0.0;
    for (size_t i = 0; i < kWindow; ++i) {
        window[i] = 0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / kWindow);
        windowPower += window[i];
    }
    double* in = fftw_alloc_real(kWindow);
    fftw_complex* out = fftw_alloc_complex(kWindow / 2 + 1);
    fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(kWindow), in, out, FFTW_ESTIMATE);

    std::vector<double> power(kWindow / 2 + 1, 0.0);
    size_t segments = 0;
    for (const std::vector<float>* channel : {&left, &right}) {
        for (size_t start = 0; start + kWindow <= channel->size(); start += kWindow / 2, ++segments) {
            for (size_t i = 0; i < kWindow; ++i) in[i] = window[i] * (*channel)[start + i];
            fftw_execute(plan);
            for (size_t k = 0; k < power.size(); ++k) power[k] += out[k][0] * out[k][0] + out[k][1] * out[k][1];
        }
    }
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);

    // A full-scale sine centred on a bin gives (windowPower / 2)^2 there.
    AverageSpectrum result{sampleRate, sampleRate / kWindow, std::vector<double>(power.size())};
    const double fullScale = windowPower * windowPower / 4.0;
    for (size_t k = 0; k < power.size(); ++k)
        result.levelDb[k] = 10.0 * std::log10(power[k] / static_cast<double>(segments) / fullScale + 1e-30);
    return result;
}
