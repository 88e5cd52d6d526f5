#include "dry_tap.h"

void DryTap::capture(const SubBlockBands& bands, bool band1, bool band2, bool band3, int n, int factor) {
    for (int i = 0; i < n; ++i) {
        Pair sum = pair::zero();
        if (band1) sum = _mm_add_pd(sum, bands.frame[i][0]);
        if (band2) sum = _mm_add_pd(sum, bands.frame[i][1]);
        if (band3) sum = _mm_add_pd(sum, bands.frame[i][2]);
        dry[i][0] = sum;
    }
    // History of another rate would be garbage at this one, as in the path.
    if (factor != lastFactor) oversampler.reset();
    lastFactor = factor;
    if (factor > 1) {
        oversampler.clearNonFinite(factor);
        oversampler.up<true, false, false>(factor, dry, n, raised);
        oversampler.down<true, false, false>(factor, raised, n, dry);
    }
}
