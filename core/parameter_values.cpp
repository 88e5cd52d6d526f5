#include "parameter_values.h"

#include "parameter_listener.h"
#include "parameter_table.h"

ParameterValues::ParameterValues() {
    for (int i = 0; i < kNumParameters; ++i) values[i].store(kParameterDefaults[i], std::memory_order_relaxed);
}

float ParameterValues::get(int32_t index) const {
    return isIndex(index) ? values[index].load(std::memory_order_relaxed) : 0.0f;
}

void ParameterValues::store(int32_t index, float value) {
    if (isIndex(index)) values[index].store(value, std::memory_order_relaxed);
}

void ParameterValues::changed(int32_t index, float value) {
    if (listener) listener->parameterChanged(index, value);
}

bool ParameterValues::set(int32_t index, float value) {
    if (!isIndex(index)) return false;
    store(index, value);
    // Cross1 never rises above Cross2: the partner is pushed along. A NaN
    // compares false and pushes nothing.
    if (index == kCross1 && value > get(kCross2)) {
        store(kCross2, value);
        changed(kCross2, value);
    } else if (index == kCross2 && value < get(kCross1)) {
        store(kCross1, value);
        changed(kCross1, value);
    }
    changed(index, value);
    return true;
}
