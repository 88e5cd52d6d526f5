// A deliberately plain, unoptimised model of the signal path, written frame by
// frame from the behaviour the effect promises, used to check the optimised
// routing loops sample by sample.
#pragma once

#include <algorithm>
#include <cmath>

#include "dsp/shaper_tables.h"

class ReferenceModel {
public:
    float params[19] = {0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f,
                        0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    double sampleRate = 44100.0;

    void run(const float* inL, const float* inR, float* outL, float* outR, int frames, bool accumulate) {
        if (frames <= 0) return;
        const bool post = params[2] >= 0.5f;
        bool solo[3] = {params[3] > 0.5f, params[4] > 0.5f, params[5] > 0.5f};
        const bool anySolo = solo[0] || solo[1] || solo[2];
        bool on[3];
        for (int b = 0; b < 3; ++b) on[b] = solo[b] || !anySolo;

        for (int start = 0; start < frames; start += 64) {
            const int n = std::min(64, frames - start);
            for (Filter* f : {c1, c2, p1, p2})
                for (int ch = 0; ch < 2; ++ch) f[ch].restartIfBroken();
            for (int ch = 0; ch < 2; ++ch)
                if (!std::isfinite(dcIn[ch]) || !std::isfinite(dcOut[ch])) dcIn[ch] = dcOut[ch] = 0.0;
            if (on[0] || on[1]) {
                Filter designed = design(safe(crossLaw, params[0]));
                for (int ch = 0; ch < 2; ++ch) c1[ch].coeffs(designed);
                if (post && on[0])
                    for (int ch = 0; ch < 2; ++ch) p1[ch].coeffs(designed);
            }
            if (on[1] || on[2]) {
                Filter designed = design(safe(crossLaw, params[1]));
                for (int ch = 0; ch < 2; ++ch) c2[ch].coeffs(designed);
                if (post && on[1])
                    for (int ch = 0; ch < 2; ++ch) p2[ch].coeffs(designed);
            }
            double inc[3][4] = {};
            for (int b = 0; b < 3; ++b) {
                if (!on[b]) continue;
                inc[b][0] = (safe(leftLaw, params[6 + b]) - lg[b]) / 64.0;
                inc[b][1] = (safe(rightLaw, params[6 + b]) - rg[b]) / 64.0;
                inc[b][2] = (safe(driveLaw, params[9 + b]) - dr[b]) / 64.0;
                inc[b][3] = (safe(levelLaw, params[15 + b]) - lv[b]) / 64.0;
            }
            const double masterInc = (safe(levelLaw, params[18]) - master) / 64.0;

            for (int i = start; i < start + n; ++i) {
                for (int b = 0; b < 3; ++b) {
                    if (!on[b]) continue;
                    lg[b] += inc[b][0];
                    rg[b] += inc[b][1];
                    dr[b] += inc[b][2];
                    lv[b] += inc[b][3];
                }
                master += masterInc;
                const double x[2] = {inL[i] + offset, inR[i] + offset};
                offset = -offset;
                double s[3][2] = {};
                for (int ch = 0; ch < 2; ++ch) {
                    if (on[0] || on[1]) c1[ch].step(x[ch]);
                }
                if (on[0]) {
                    for (int ch = 0; ch < 2; ++ch) s[0][ch] = c1[ch].low();
                    shape(s[0], 0);
                    if (post)
                        for (int ch = 0; ch < 2; ++ch) {
                            p1[ch].step(s[0][ch] + postOffset);
                            s[0][ch] = p1[ch].low();
                        }
                }
                for (int ch = 0; ch < 2; ++ch) {
                    if (on[1]) c2[ch].step(c1[ch].high());
                    else if (on[2]) c2[ch].step(x[ch]);
                }
                if (on[1]) {
                    for (int ch = 0; ch < 2; ++ch) s[1][ch] = c2[ch].low();
                    shape(s[1], 1);
                    if (post)
                        for (int ch = 0; ch < 2; ++ch) {
                            p2[ch].step(s[1][ch] + postOffset);
                            s[1][ch] = p2[ch].low();
                        }
                }
                if (on[2]) {
                    for (int ch = 0; ch < 2; ++ch) s[2][ch] = c2[ch].high();
                    shape(s[2], 2);
                }
                if (post && (on[0] || on[1])) postOffset = -postOffset;
                double out[2] = {0.0, 0.0};
                for (int b = 0; b < 3; ++b)
                    if (on[b])
                        for (int ch = 0; ch < 2; ++ch) out[ch] += lv[b] * s[b][ch];
                float* dest[2] = {outL, outR};
                for (int ch = 0; ch < 2; ++ch) {
                    const double y = out[ch] * master;
                    dest[ch][i] = toFloat(accumulate ? dest[ch][i] + y : y);
                }
            }
        }
    }

private:
    struct Filter {
        double k = 0, c0 = 0, c1 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        void coeffs(const Filter& o) {
            k = o.k;
            c0 = o.c0;
            c1 = o.c1;
        }
        void restartIfBroken() {
            for (double v : {a1, a2, x1, x2, y1, y2})
                if (!std::isfinite(v)) {
                    a1 = a2 = x1 = x2 = y1 = y2 = 0;
                    return;
                }
        }
        void step(double x) {
            const double h = x / 2.0;
            a1 = k * (h - a1) + x1;
            const double y = c0 * (h - y2) + c1 * (x1 - y1) + x2;
            y2 = y1;
            y1 = y;
            a2 = y;
            x2 = x1;
            x1 = h;
        }
        double low() const { return a1 + a2; }
        double high() const { return a1 - a2; }
    };

    Filter design(double f) const {
        if (!(f > 0)) f = 1.0;
        const double limit = 0.49 * sampleRate;
        if (f > limit) f = limit;
        Filter d;
        const double w = 3.141592653589793 * f / sampleRate;
        const double t = std::tan(w);
        d.k = (t - 1) / (t + 1);
        const double alpha = std::sin(2 * w) / 2.0;
        d.c1 = -2 * std::cos(2 * w) / (1 + alpha);
        d.c0 = (1 - alpha) / (1 + alpha);
        return d;
    }

    static double levelLaw(float p) { return 0.01 * (std::exp(p * 4.63199011305389) - std::exp((double)p)); }
    static double crossLaw(float p) { return 20.0 * std::exp(p * 6.907755278982137); }
    static double driveLaw(float p) { return 0.1 * std::exp(p * 9.210340371976184); }
    static double leftLaw(float p) { return p > 0.5f ? 2.0 * (1.0 - p) : 1.0; }
    static double rightLaw(float p) { return p <= 0.5f ? 2.0 * p : 1.0; }
    // Out-of-range values follow the law while it stays finite, else the
    // nearest end of the range (NaN as 0) is used.
    static double safe(double (*law)(float), float p) {
        const double y = law(p);
        if (std::isfinite(y)) return y;
        return law(std::isnan(p) ? 0.0f : std::clamp(p, 0.0f, 1.0f));
    }
    static float toFloat(double y) {
        if (std::isnan(y)) return static_cast<float>(y);
        return static_cast<float>(std::clamp(y, -3.4028234663852886e38, 3.4028234663852886e38));
    }

    static double lookup(const double* table, double scale, int last, double x) {
        const double v = x * scale;
        double m = std::fabs(v);
        if (m > last) m = last;
        const int i = (int)m;
        const double f = m - i;
        const double y = f > 0 ? table[i] + f * (table[i + 1] - table[i]) : table[i];
        return v > 0 ? y : -y;
    }

    void shape(double s[2], int b) {
        const ShaperTables& t = shaperTables();
        const float type = params[12 + b];
        for (int ch = 0; ch < 2; ++ch) {
            double x = (ch == 0 ? lg[b] : rg[b]) * dr[b] * s[ch];
            if (type < 0.1666f) x = lookup(t.saturationTable1.data(), 1024, 8192, x);
            else if (type < 0.3333f) x = lookup(t.saturationTable2.data(), 2048, 8192, x);
            else if (type < 0.5f)
                x = x > 0 ? lookup(t.saturationTable1.data(), 1024, 8192, x) : lookup(t.saturationTable2.data(), 2048, 8192, x);
            else if (type < 0.6666f) x = std::clamp(x, -1.0, 1.0);
            else if (type < 0.8333f) x = lookup(t.punchTable.data(), 1024, 8192, x);
            else if (type < 0.9999f) x = lookup(t.sinusTable.data(), 1024, 8192, x);
            else x = lookup(t.crackleTable.data(), 2048, 4095, x);
            s[ch] = x;
        }
        if (type >= 0.3333f && type < 0.5f) {
            for (int ch = 0; ch < 2; ++ch) {
                const double y = (s[ch] - dcIn[ch]) + 0.99999999999 * dcOut[ch];
                dcIn[ch] = s[ch];
                dcOut[ch] = y;
                s[ch] = y;
            }
        }
    }

    Filter c1[2], c2[2], p1[2], p2[2];
    double lg[3] = {1, 1, 1}, rg[3] = {1, 1, 1}, dr[3] = {0, 0, 0}, lv[3] = {1, 1, 1}, master = 1.0;
    double dcIn[2] = {0, 0}, dcOut[2] = {0, 0};
    double offset = 1e-18, postOffset = 1e-18;
};
