// Told of each value a setter changed, on the thread that called the setter
// (an editor notes it for its next idle; a format may also tell its host).
#pragma once

#include <cstdint>

class ParameterListener {
public:
    virtual ~ParameterListener() = default;
    virtual void parameterChanged(int32_t index, float value) = 0;
};
