#include "clap/clap_state_format.h"

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
