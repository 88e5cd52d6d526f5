// The parameter changes a process call carries: one queue per parameter id,
// each a list of (frame, normalised value) points in frame order. All storage
// is reserved up front, so adding points and clearing never allocate; a
// queue that is full keeps its last point up to date instead of growing.
#pragma once

#include <cstdint>
#include <vector>

#include "host/vst3_host_objects.h"
#include "vst3/vst3_abi.h"

class Vst3ParamValueQueue final : public Vst3HostObject<vvst3::IParamValueQueue> {
public:
    static constexpr int32_t kMaxPoints = 64;

    Vst3ParamValueQueue() { points_.reserve(kMaxPoints); }

    void reset(vvst3::ParamID id) {
        id_ = id;
        points_.clear();
    }
    // The value the queue ends on; only for a queue with points.
    vvst3::ParamValue lastValue() const { return points_.back().value; }

    vvst3::ParamID VVST3_CALL getParameterId() override { return id_; }
    int32_t VVST3_CALL getPointCount() override { return static_cast<int32_t>(points_.size()); }
    vvst3::tresult VVST3_CALL getPoint(int32_t index, int32_t& sampleOffset, vvst3::ParamValue& value) override;
    vvst3::tresult VVST3_CALL addPoint(int32_t sampleOffset, vvst3::ParamValue value, int32_t& index) override;

private:
    struct Point {
        int32_t offset;
        vvst3::ParamValue value;
    };

    vvst3::ParamID id_ = vvst3::kNoParamId;
    std::vector<Point> points_;
};

class Vst3ParameterChanges final : public Vst3HostObject<vvst3::IParameterChanges> {
public:
    // Room for this many distinct parameter ids per block.
    explicit Vst3ParameterChanges(int32_t maxParameters = 0) { reserve(maxParameters); }
    // Not while a process call reads the queues: their addresses change.
    void reserve(int32_t maxParameters);

    bool empty() const { return used_ == 0; }
    void clear() { used_ = 0; }
    // Queues a point; refused (false) for an id beyond the reserved room.
    bool add(vvst3::ParamID id, int32_t frame, vvst3::ParamValue value);

    int32_t VVST3_CALL getParameterCount() override { return used_; }
    vvst3::IParamValueQueue* VVST3_CALL getParameterData(int32_t index) override;
    vvst3::IParamValueQueue* VVST3_CALL addParameterData(const vvst3::ParamID& id, int32_t& index) override;

private:
    std::vector<Vst3ParamValueQueue> queues_;
    int32_t used_ = 0;
};
