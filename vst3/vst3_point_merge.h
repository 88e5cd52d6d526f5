// The points of a block's parameter queues in the order they take effect:
// by sample offset, and among points at the same offset in queue order. The
// format gives one queue per parameter, so this reads the queues side by
// side instead of gathering the points (nothing is allocated: it runs in
// process).
#pragma once

#include <array>
#include <cstdint>

#include "vst3/vst3_abi.h"

struct ParameterPoint {
    vvst3::ParamID id;
    int32_t offset;
    double value;
};

class ParameterPointMerge {
public:
    // Null changes have no points. Queues beyond the number of parameters a
    // host could ever send (each id once) are not read.
    explicit ParameterPointMerge(vvst3::IParameterChanges* changes);

    // False when every queue is used up.
    bool next(ParameterPoint& point);

private:
    struct Cursor {
        vvst3::IParamValueQueue* queue;
        vvst3::ParamID id;
        int32_t count;
        int32_t nextIndex;
        int32_t offset;  // of the point at nextIndex
        double value;
    };
    // Reads the cursor's next point; false when it has none left (or the host
    // refuses to give it).
    static bool load(Cursor& cursor);

    static constexpr int32_t kMaxQueues = 64;
    std::array<Cursor, kMaxQueues> cursors;
    int32_t cursorCount = 0;
};
