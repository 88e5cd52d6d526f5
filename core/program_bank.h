// The bank of 16 programs, for formats that have programs: each holds a value
// per parameter and a name. A format without programs never links this.
#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/parameter_index.h"

class ProgramBank {
public:
    static constexpr int32_t kNumPrograms = 16;
    // Name storage, terminator included; longer names are cut.
    static constexpr int kNameSize = 32;

    // Every program holds the defaults and the name "Init". When memory runs
    // out the bank is empty: reads give 0 or "", writes do nothing.
    ProgramBank();
    ~ProgramBank();
    ProgramBank(const ProgramBank&) = delete;
    ProgramBank& operator=(const ProgramBank&) = delete;

    bool isAvailable() const { return programs != nullptr; }
    static bool isProgram(int32_t program) { return program >= 0 && program < kNumPrograms; }

    float value(int32_t program, int32_t index) const;
    // Any thread: the current program follows every parameter change.
    void store(int32_t program, int32_t index, float value);

    void setName(int32_t program, const char* name);
    // The stored name as it is; false (and nothing written) without one.
    bool copyName(int32_t program, char* text) const;
    // The name a host shows: an untouched program reads "Init 1" .. "Init 16".
    void writeDisplayName(int32_t program, char* text) const;

private:
    struct Program {
        std::atomic<float> values[kNumParameters];
        char name[kNameSize];
    };

    Program* programs = nullptr;
};
