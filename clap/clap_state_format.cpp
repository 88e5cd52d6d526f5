#include "clap/clap_state_format.h"

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
int indexOf(vclap::Id id) {
    for (uint32_t i = 0; i < kClapParameterCount; ++i)
        if (kClapParameters[i].id == id) return static_cast<int>(i);
    return -1;
}

}  // namespace

StateBytes encodeState(const std::array<float, kClapParameterCount>& values) {
    StateBytes state{};
    std::memcpy(state.bytes.data(), kMagic, sizeof kMagic);
    putWord(state.bytes.data() + 4, kFormatVersion);
    putWord(state.bytes.data() + 8, kClapParameterCount);
    uint8_t* entry = state.bytes.data() + kStateHeaderBytes;
    for (uint32_t i = 0; i < kClapParameterCount; ++i, entry += kStateEntryBytes) {
        putWord(entry, kClapParameters[i].id);
        putWord(entry + 4, std::bit_cast<uint32_t>(values[i]));
    }
    state.size = kStateHeaderBytes + kClapParameterCount * kStateEntryBytes;
    return state;
}

std::optional<SavedValues> decodeState(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < kStateHeaderBytes || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) return {};
    if (getWord(bytes + 4) != kFormatVersion) return {};
    const uint32_t count = getWord(bytes + 8);
    if (count > kStateMaxEntries || size < kStateHeaderBytes + count * kStateEntryBytes) return {};
    SavedValues saved;
    for (uint32_t i = 0; i < kClapParameterCount; ++i)
        saved.byIndex[i] = static_cast<float>(kClapParameters[i].defaultValue);
    const uint8_t* entry = bytes + kStateHeaderBytes;
    for (uint32_t k = 0; k < count; ++k, entry += kStateEntryBytes) {
        const int index = indexOf(getWord(entry));
        if (index < 0) continue;
        const float value = std::bit_cast<float>(getWord(entry + 4));
        saved.byIndex[index] = static_cast<float>(clampedClapValue(kClapParameters[index], value));
    }
    return saved;
}

bool writeAll(const vclap::OutputStream& stream, const uint8_t* bytes, size_t size) {
    if (stream.write == nullptr) return false;
    for (size_t done = 0; done < size;) {
        const int64_t wrote = stream.write(&stream, bytes + done, size - done);
        if (wrote <= 0 || static_cast<uint64_t>(wrote) > size - done) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

std::optional<StateBytes> readAll(const vclap::InputStream& stream) {
    if (stream.read == nullptr) return {};
    StateBytes state{};
    state.size = 0;
    for (;;) {
        // One byte beyond the largest state shows a stream that is too long.
        uint8_t spare = 0;
        const size_t room = kStateMaxBytes - state.size;
        uint8_t* into = room > 0 ? state.bytes.data() + state.size : &spare;
        const int64_t got = stream.read(&stream, into, room > 0 ? room : 1);
        if (got == 0) return state;
        if (got < 0 || room == 0 || static_cast<uint64_t>(got) > room) return {};
        state.size += static_cast<size_t>(got);
    }
}
