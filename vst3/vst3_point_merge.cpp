#include "vst3/vst3_point_merge.h"

#include <algorithm>

ParameterPointMerge::ParameterPointMerge(vvst3::IParameterChanges* changes) {
    if (changes == nullptr) return;
    const int32_t queues = std::min(changes->getParameterCount(), kMaxQueues);
    for (int32_t q = 0; q < queues; ++q) {
        vvst3::IParamValueQueue* queue = changes->getParameterData(q);
        if (queue == nullptr) continue;
        Cursor cursor{queue, queue->getParameterId(), queue->getPointCount(), 0, 0, 0.0};
        if (load(cursor)) cursors[static_cast<size_t>(cursorCount++)] = cursor;
    }
}

bool ParameterPointMerge::load(Cursor& cursor) {
    while (cursor.nextIndex < cursor.count) {
        int32_t offset = 0;
        double value = 0.0;
        if (cursor.queue->getPoint(cursor.nextIndex, offset, value) == vvst3::kResultOk) {
            cursor.offset = offset;
            cursor.value = value;
            return true;
        }
        ++cursor.nextIndex;
    }
    return false;
}

bool ParameterPointMerge::next(ParameterPoint& point) {
    int32_t earliest = -1;
    for (int32_t c = 0; c < cursorCount; ++c)
        if (cursors[c].nextIndex < cursors[c].count &&
            (earliest < 0 || cursors[c].offset < cursors[earliest].offset))
            earliest = c;
    if (earliest < 0) return false;
    Cursor& cursor = cursors[static_cast<size_t>(earliest)];
    point = {cursor.id, cursor.offset, cursor.value};
    ++cursor.nextIndex;
    if (!load(cursor)) cursor.nextIndex = cursor.count;
    return true;
}
