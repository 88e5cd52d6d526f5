#include "core/state_format.h"

#include <bit>
#include <cstring>

namespace {

constexpr uint8_t kMagic[4] = {'V', 'L', 'M', 'S'};
constexpr uint32_t kFormatVersion = 1;

void putWord(uint8_t* out, uint32_t word) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(word >> (8 * i));
}

uint32_t getWord(const uint8_t* in) {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) word |= static_cast<uint32_t>(in[i]) << (8 * i);
    return word;
}

// The index of an id, or -1 for an id that is no parameter.
int indexOf(HostParameterId id) {
    const HostParameter* parameter = hostParameter(id);
    return parameter != nullptr ? static_cast<int>(parameter - kHostParameters.data()) : -1;
}

}  // namespace

StateBytes encodeState(const std::array<float, kHostParameterCount>& values) {
    StateBytes state{};
    std::memcpy(state.bytes.data(), kMagic, sizeof kMagic);
    putWord(state.bytes.data() + 4, kFormatVersion);
    putWord(state.bytes.data() + 8, kHostParameterCount);
    uint8_t* entry = state.bytes.data() + kStateHeaderBytes;
    for (uint32_t i = 0; i < kHostParameterCount; ++i, entry += kStateEntryBytes) {
        putWord(entry, kHostParameters[i].id);
        putWord(entry + 4, std::bit_cast<uint32_t>(values[i]));
    }
    state.size = kStateHeaderBytes + kHostParameterCount * kStateEntryBytes;
    return state;
}

std::optional<SavedValues> decodeState(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < kStateHeaderBytes || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) return {};
    if (getWord(bytes + 4) != kFormatVersion) return {};
    const uint32_t count = getWord(bytes + 8);
    if (count > kStateMaxEntries || size < kStateHeaderBytes + count * kStateEntryBytes) return {};
    SavedValues saved;
    for (uint32_t i = 0; i < kHostParameterCount; ++i)
        saved.byIndex[i] = static_cast<float>(kHostParameters[i].defaultValue);
    const uint8_t* entry = bytes + kStateHeaderBytes;
    for (uint32_t k = 0; k < count; ++k, entry += kStateEntryBytes) {
        const int index = indexOf(getWord(entry));
        if (index < 0) continue;
        const float value = std::bit_cast<float>(getWord(entry + 4));
        saved.byIndex[index] = static_cast<float>(validHostValue(kHostParameters[index], value));
    }
    return saved;
}

