// Which bands sound in a process call (the soloed ones, or all three when
// none is soloed) and whether the post filters run. Both audio paths compile
// one loop per routing, so the choice is made once per call, here.
#pragma once

#include "parameter_laws.h"

template <bool Band1, bool Band2, bool Band3, bool PostFilter>
struct BandRouting {
    static constexpr bool band1 = Band1;
    static constexpr bool band2 = Band2;
    static constexpr bool band3 = Band3;
    static constexpr bool postFilter = PostFilter;
};

// Calls `run` with the BandRouting of the given parameter values.
template <class Run>
inline void withBandRouting(float pfilter, float solo1, float solo2, float solo3, Run&& run) {
    const bool post = laws::postFilterOn(pfilter);
    const bool on1 = laws::soloOn(solo1);
    const bool on2 = laws::soloOn(solo2);
    const bool on3 = laws::soloOn(solo3);
    const bool anySolo = on1 || on2 || on3;
    const int bits = ((on1 || !anySolo) ? 1 : 0) | ((on2 || !anySolo) ? 2 : 0) | ((on3 || !anySolo) ? 4 : 0) |
                     (post ? 8 : 0);
    // At least one band always sounds, so 0 and 8 never occur.
    switch (bits) {
        case 1: run(BandRouting<true, false, false, false>{}); break;
        case 2: run(BandRouting<false, true, false, false>{}); break;
        case 3: run(BandRouting<true, true, false, false>{}); break;
        case 4: run(BandRouting<false, false, true, false>{}); break;
        case 5: run(BandRouting<true, false, true, false>{}); break;
        case 6: run(BandRouting<false, true, true, false>{}); break;
        case 7: run(BandRouting<true, true, true, false>{}); break;
        case 9: run(BandRouting<true, false, false, true>{}); break;
        case 10: run(BandRouting<false, true, false, true>{}); break;
        case 11: run(BandRouting<true, true, false, true>{}); break;
        case 12: run(BandRouting<false, false, true, true>{}); break;
        case 13: run(BandRouting<true, false, true, true>{}); break;
        case 14: run(BandRouting<false, true, true, true>{}); break;
        case 15: run(BandRouting<true, true, true, true>{}); break;
        default: break;
    }
}
