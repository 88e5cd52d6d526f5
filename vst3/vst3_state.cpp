// The states: the component's is every value in core/state_format.h's
// bytes; the controller's is empty (the values are the component's, and the
// editor keeps no settings of its own). A stream is read only as far as the
// state announces itself, so a host may hand a window into a larger file.
#include "core/host_entry_guard.h"
#include "core/state_format.h"
#include "vst3/vst3_effect.h"

namespace {

bool writeAll(vvst3::IBStream& stream, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        int32_t written = 0;
        if (stream.write(const_cast<uint8_t*>(bytes), static_cast<int32_t>(size), &written) != vvst3::kResultOk ||
            written <= 0 || static_cast<size_t>(written) > size)
            return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Short reads are continued; the end of the stream before `size` fails.
bool readExactly(vvst3::IBStream& stream, uint8_t* bytes, size_t size) {
    while (size > 0) {
        int32_t read = 0;
        if (stream.read(bytes, static_cast<int32_t>(size), &read) != vvst3::kResultOk || read <= 0 ||
            static_cast<size_t>(read) > size)
            return false;
        bytes += read;
        size -= static_cast<size_t>(read);
    }
    return true;
}

uint32_t littleEndianWord(const uint8_t* bytes) {
    return bytes[0] | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24);
}

// The header, then as many entries as it announces; nothing when the
// stream is not a state of ours.
std::optional<SavedValues> readState(vvst3::IBStream& stream) {
    StateBytes state{};
    if (!readExactly(stream, state.bytes.data(), kStateHeaderBytes)) return std::nullopt;
    const uint32_t count = littleEndianWord(state.bytes.data() + kStateHeaderBytes - 4);
    if (count == 0 || count > kStateMaxEntries) return std::nullopt;
    state.size = kStateHeaderBytes + count * kStateEntryBytes;
    if (!readExactly(stream, state.bytes.data() + kStateHeaderBytes, state.size - kStateHeaderBytes))
        return std::nullopt;
    return decodeState(state.bytes.data(), state.size);
}

}  // namespace

vvst3::tresult Vst3Effect::applyState(vvst3::IBStream* stream) {
    if (stream == nullptr) return vvst3::kInvalidArgument;
    const std::optional<SavedValues> saved = readState(*stream);
    if (!saved) return vvst3::kResultFalse;
    if (effect.loadValues(saved->byIndex)) requestRestart(vvst3::restart::kLatencyChanged);
    return vvst3::kResultOk;
}

vvst3::tresult Vst3Effect::loadProcessorState(vvst3::IBStream* stream) {
    return guardedHostEntry(vvst3::kInternalError, [&] { return applyState(stream); });
}

vvst3::tresult Vst3Effect::saveProcessorState(vvst3::IBStream* stream) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (stream == nullptr) return vvst3::kInvalidArgument;
        const StateBytes state = encodeState(effect.allValues());
        return writeAll(*stream, state.bytes.data(), state.size) ? vvst3::kResultOk : vvst3::kResultFalse;
    });
}

// The same bytes the component just loaded: loading them again changes
// nothing, and a host that sends only these gets them applied.
vvst3::tresult VVST3_CALL Vst3Effect::setComponentState(vvst3::IBStream* stream) {
    return guardedHostEntry(vvst3::kInternalError, [&] { return applyState(stream); });
}

vvst3::tresult Vst3Effect::loadControllerState(vvst3::IBStream* stream) {
    return stream != nullptr ? vvst3::kResultOk : vvst3::kInvalidArgument;
}

vvst3::tresult Vst3Effect::saveControllerState(vvst3::IBStream* stream) {
    return stream != nullptr ? vvst3::kResultOk : vvst3::kInvalidArgument;
}
