#include "host/vst3_parameter_changes.h"

#include <algorithm>

vvst3::tresult Vst3ParamValueQueue::getPoint(int32_t index, int32_t& sampleOffset, vvst3::ParamValue& value) {
    if (index < 0 || index >= getPointCount()) return vvst3::kInvalidArgument;
    sampleOffset = points_[static_cast<size_t>(index)].offset;
    value = points_[static_cast<size_t>(index)].value;
    return vvst3::kResultOk;
}

// Points stay in frame order: one at the frame of the last replaces it, one
// before the last is refused.
vvst3::tresult Vst3ParamValueQueue::addPoint(int32_t sampleOffset, vvst3::ParamValue value, int32_t& index) {
    if (sampleOffset < 0) return vvst3::kInvalidArgument;
    if (!points_.empty() && sampleOffset <= points_.back().offset) {
        if (sampleOffset < points_.back().offset) return vvst3::kInvalidArgument;
        points_.back().value = value;
    } else if (points_.size() == kMaxPoints) {
        points_.back() = {sampleOffset, value};
    } else {
        points_.push_back({sampleOffset, value});
    }
    index = getPointCount() - 1;
    return vvst3::kResultOk;
}

void Vst3ParameterChanges::reserve(int32_t maxParameters) {
    const auto wanted = static_cast<size_t>(std::max(maxParameters, 0));
    if (wanted > queues_.size()) queues_ = std::vector<Vst3ParamValueQueue>(wanted);
    used_ = 0;
}

bool Vst3ParameterChanges::add(vvst3::ParamID id, int32_t frame, vvst3::ParamValue value) {
    int32_t index = 0;
    vvst3::IParamValueQueue* queue = addParameterData(id, index);
    return queue != nullptr && queue->addPoint(frame, value, index) == vvst3::kResultOk;
}

vvst3::IParamValueQueue* Vst3ParameterChanges::getParameterData(int32_t index) {
    if (index < 0 || index >= used_) return nullptr;
    return &queues_[static_cast<size_t>(index)];
}

vvst3::IParamValueQueue* Vst3ParameterChanges::addParameterData(const vvst3::ParamID& id, int32_t& index) {
    for (int32_t i = 0; i < used_; ++i) {
        if (queues_[static_cast<size_t>(i)].getParameterId() == id) {
            index = i;
            return &queues_[static_cast<size_t>(i)];
        }
    }
    if (static_cast<size_t>(used_) == queues_.size()) return nullptr;
    index = used_++;
    queues_[static_cast<size_t>(index)].reset(id);
    return &queues_[static_cast<size_t>(index)];
}
