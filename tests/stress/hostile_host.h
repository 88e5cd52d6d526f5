// A hostile host: drives a loaded plug-in through its record with calls
// chosen from a byte stream (a seeded generator in the stress test, the
// fuzzer's input in the fuzz target). Every call is one a real host could
// make, however odd: any opcode, index and value, null or exactly sized
// buffers, bad parameter values, any frame count, in-place buffers, and
// non-finite, denormal and huge samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vst2/vst_abi.h"

// Where the choices come from.
class ChoiceSource {
public:
    virtual ~ChoiceSource() = default;
    // Next raw 32 bits; false once the source is exhausted.
    virtual bool next(uint32_t& bits) = 0;
};

class HostileHost {
public:
    static constexpr int kMaxFrames = 4096;
    // Non-finite input may disturb the output for this many frames at most.
    static constexpr int64_t kRecoveryFrames = 64;
    // The buffers a frugal host hands over for texts: the bounds the plug-in
    // promises for parameter texts and for program names.
    static constexpr size_t kHostTextBytes = 16;
    static constexpr size_t kProgramNameBytes = 32;

    explicit HostileHost(AEffect* effect);

    // Makes one call; false when the source ran dry. A broken promise of the
    // plug-in (a non-finite output sample long after the last non-finite
    // input) is recorded in failure().
    bool step(ChoiceSource& source);

    const std::string& failure() const { return failureText; }
    int64_t callsMade() const { return calls; }

private:
    bool dispatch(ChoiceSource& source);
    bool setOrGetParameter(ChoiceSource& source, bool set);
    bool processAudio(ChoiceSource& source);

    AEffect* effect;
    std::vector<float> input[2], output[2];
    // Frames processed so far, and the frame after the last non-finite input
    // sample (outputs from there + kRecoveryFrames on must be finite).
    int64_t framesDone = 0;
    int64_t cleanFrom = 0;
    int64_t calls = 0;
    std::string failureText;
};
