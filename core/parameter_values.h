// The 19 current values, shared without a lock between the thread that sets
// them, the audio path and the editor. The setter keeps Cross1 not above
// Cross2, which every format must show the same way.
#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/parameter_index.h"

class ParameterListener;

class ParameterValues {
public:
    // Every value starts at its default.
    ParameterValues();
    ParameterValues(const ParameterValues&) = delete;
    ParameterValues& operator=(const ParameterValues&) = delete;

    static bool isIndex(int32_t index) { return static_cast<uint32_t>(index) < kNumParameters; }

    // 0 for an index that is no parameter.
    float get(int32_t index) const;
    // A change from the user or the host. Moving one crossover past the other
    // pushes the partner along; the listener hears of the partner first, then
    // of the value set. False (and nothing stored) for an index that is no
    // parameter.
    bool set(int32_t index, float value);
    // Stores the value as given: no push, no listener. For a side that only
    // mirrors values someone else owns (an LV2 UI shows what the host reports).
    void store(int32_t index, float value);

    // Set before other threads use the object; null for none.
    void setListener(ParameterListener* newListener) { listener = newListener; }

    // What the audio path reads, one atomic per parameter in index order.
    const std::atomic<float>* atomics() const { return values; }

private:
    void changed(int32_t index, float value);

    std::atomic<float> values[kNumParameters];
    ParameterListener* listener = nullptr;
};
