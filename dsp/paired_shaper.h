// The seven curves on a left/right pair, without data-dependent branches.
// Each trick below gives the bits of the scalar shaper (shaper.h):
// - min/max take their operands in the order that makes NaN and the
//   comparisons fall out as the scalar ternaries do;
// - the interpolation skips the scalar's `f > 0` test: with f == 0 the term
//   f * step is a signed zero and entry + (+-0) == entry, because every
//   table entry is finite;
// - the tables hold each entry next to its step to the next one, computed
//   once as the scalar computes it each time; one load then brings both.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "shaper_type.h"
#include "stereo_pair.h"

// The transfer tables as (entry, step to the next entry) pairs.
struct SteppedShaperTables {
    std::vector<double> saturation1, saturation2, punch, sinus, crackle;
};
const SteppedShaperTables& steppedShaperTables();

namespace paired_shaper {

VELMORA_INLINE Pair hardClip(Pair x) {
    // max(-1, x) is x < -1 ? -1 : x (NaN stays); min(1, .) then clips the top.
    return _mm_min_pd(pair::kOne(), _mm_max_pd(pair::kMinusOne(), x));
}

// oddLookup on both lanes; each lane may read its own table (Saturation3).
VELMORA_INLINE Pair oddLookup(Pair x, Pair scale, Pair last, const double* tableLeft, const double* tableRight) {
    const Pair v = _mm_mul_pd(x, scale);
    const Pair magnitude = _mm_andnot_pd(pair::signBit(), v);
    // max(m, 0) turns NaN and -0 into +0 as the scalar's `m > 0 ? m : 0`.
    const Pair p = _mm_min_pd(_mm_max_pd(magnitude, pair::zero()), last);
    const __m128i index = _mm_cvttpd_epi32(p);
    const Pair fraction = _mm_sub_pd(p, _mm_cvtepi32_pd(index));
#if defined(__x86_64__)
    // Both indices (0..N, never negative) in one move to a 64-bit register.
    const uint64_t both = static_cast<uint64_t>(_mm_cvtsi128_si64(index));
    const uint32_t indexLeft = static_cast<uint32_t>(both);
    const uint32_t indexRight = static_cast<uint32_t>(both >> 32);
#else
    const int indexLeft = _mm_cvtsi128_si32(index);
    const int indexRight = _mm_cvtsi128_si32(_mm_srli_si128(index, 4));
#endif
    const Pair leftEntry = _mm_loadu_pd(tableLeft + 2 * static_cast<size_t>(indexLeft));  // T[i], T[i+1] - T[i]
    const Pair rightEntry = _mm_loadu_pd(tableRight + 2 * static_cast<size_t>(indexRight));
    const Pair entry = _mm_unpacklo_pd(leftEntry, rightEntry);
    const Pair step = _mm_unpackhi_pd(leftEntry, rightEntry);
    const Pair y = _mm_add_pd(entry, _mm_mul_pd(fraction, step));
    // Not (v > 0), NaN included, takes the negative side.
    const Pair flip = _mm_andnot_pd(_mm_cmpgt_pd(v, pair::zero()), pair::signBit());
    return _mm_xor_pd(y, flip);
}

// "Saturation3"'s shared DC blocker, one lane per channel.
struct alignas(16) PairedDcBlocker {
    Pair prevIn = pair::zero();
    Pair prevOut = pair::zero();

    VELMORA_INLINE Pair process(Pair x) { return processWith(x, pair::kDcBlockerCoefficient()); }
    VELMORA_INLINE Pair processWith(Pair x, Pair coefficient) {
        const Pair y = _mm_add_pd(_mm_sub_pd(x, prevIn), _mm_mul_pd(coefficient, prevOut));
        prevIn = x;
        prevOut = y;
        return y;
    }
    // Each channel's pair of fields is cleared together when either is non-finite.
    void resetNonFiniteChannels() {
        const Pair bad = _mm_or_pd(pair::nonFiniteMask(prevIn), pair::nonFiniteMask(prevOut));
        prevIn = _mm_andnot_pd(bad, prevIn);
        prevOut = _mm_andnot_pd(bad, prevOut);
    }
};

// The same blocker run at a raised rate: its coefficient is moved toward 1
// so that the corner frequency stays where it is at the host's rate.
struct RaisedRateDcBlocker {
    PairedDcBlocker& state;
    Pair coefficient;
    VELMORA_INLINE Pair process(Pair x) { return state.processWith(x, coefficient); }
};

// 1 - R shrinks by the rate factor: the corner (1 - R) * rate / (2 pi) stays.
inline double dcBlockerCoefficientAt(int factor) { return 1.0 - (1.0 - 0.99999999999) / factor; }

enum class CurveKind : uint8_t { Table, Asymmetric, Clip };

// The curve a band's Type value selects, remembered by the value's bit
// pattern so the threshold comparisons run only when the value changes.
struct alignas(16) BandCurve {
    Pair scale = pair::zero();
    Pair last = pair::zero();
    const double* table = nullptr;          // Saturation3: the positive side's
    const double* negativeTable = nullptr;  // Saturation3: the other side's
    Pair negativeScale = pair::broadcast(2048.0);
    // For each kind of curve: the selected Type's bits when the curve is of
    // that kind, otherwise a value no 32-bit pattern equals. One comparison
    // then answers both "unchanged?" and "this kind?".
    uint64_t tableCurveKey = 0;
    uint64_t clipCurveKey = 0;
    uint64_t asymmetricCurveKey = 0;
    CurveKind kind = CurveKind::Table;

    explicit BandCurve(float typeValue) { select(typeValue); }
    void select(float typeValue);

    // Whether the band's Type still selects the table curve it selected
    // (the common case); then tableShape applies it without reading the Type.
    VELMORA_INLINE bool holdsTableCurve(const std::atomic<float>& typeValue) const {
        const float t = typeValue.load(std::memory_order_relaxed);
        uint32_t bits;
        std::memcpy(&bits, &t, sizeof bits);
        return bits == tableCurveKey;
    }
    VELMORA_INLINE Pair tableShape(Pair x) const { return oddLookup(x, scale, last, table, table); }

    // Reads the band's Type once, as the scalar path does every frame, and
    // applies its curve.
    template <typename DcBlocker>
    VELMORA_INLINE Pair shape(const std::atomic<float>& typeValue, Pair x, DcBlocker& dc) {
        const float t = typeValue.load(std::memory_order_relaxed);
        uint32_t bits;
        std::memcpy(&bits, &t, sizeof bits);
        // Laid out as the fall-through path, so the loop takes no branch per band.
        if (__builtin_expect(bits == tableCurveKey, 1)) return oddLookup(x, scale, last, table, table);
        if (bits == clipCurveKey) return hardClip(x);
        if (bits != asymmetricCurveKey) {
            // The Type changed: its curve is selected anew, at this frame.
            select(t);
            if (kind == CurveKind::Table) return oddLookup(x, scale, last, table, table);
            if (kind == CurveKind::Clip) return hardClip(x);
        }
        // Positive lanes read the first saturation curve at 1024 per unit,
        // the others (0 and NaN too) the second at 2048 per unit.
        const Pair positive = _mm_cmpgt_pd(x, pair::zero());
        const Pair laneScale = _mm_or_pd(_mm_and_pd(positive, scale), _mm_andnot_pd(positive, negativeScale));
        const int lanes = _mm_movemask_pd(positive);
        const double* left = (lanes & 1) ? table : negativeTable;
        const double* right = (lanes & 2) ? table : negativeTable;
        return dc.process(oddLookup(x, laneScale, last, left, right));
    }
};

}  // namespace paired_shaper
