// State save and load through the plug-in's state extension, over streams
// that move at most a given number of bytes per call.
#include <algorithm>
#include <cstring>

#include "host/clap_plugin.h"

namespace {

// Bigger than any sensible state; a plug-in that writes more is broken.
constexpr size_t kMaxStateBytes = size_t{64} << 20;

struct Sink {
    std::vector<uint8_t> bytes;
    size_t chunk;
};

struct Source {
    const std::vector<uint8_t>& bytes;
    size_t position;
    size_t chunk;
};

int64_t VCLAP_CALL writeChunk(const vclap::OutputStream* stream, const void* buffer, uint64_t size) {
    auto& sink = *static_cast<Sink*>(stream->ctx);
    if (buffer == nullptr && size > 0) return -1;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(size, sink.chunk));
    if (sink.bytes.size() + count > kMaxStateBytes) return -1;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    sink.bytes.insert(sink.bytes.end(), bytes, bytes + count);
    return static_cast<int64_t>(count);
}

int64_t VCLAP_CALL readChunk(const vclap::InputStream* stream, void* buffer, uint64_t size) {
    auto& source = *static_cast<Source*>(stream->ctx);
    if (buffer == nullptr && size > 0) return -1;
    const size_t left = source.bytes.size() - source.position;
    const size_t count = static_cast<size_t>(std::min<uint64_t>({size, source.chunk, left}));
    if (count > 0) std::memcpy(buffer, source.bytes.data() + source.position, count);
    source.position += count;
    return static_cast<int64_t>(count);
}

}  // namespace

std::optional<std::vector<uint8_t>> ClapPlugin::saveState(size_t chunkBytes) {
    if (ext_.state == nullptr) return std::nullopt;
    Sink sink{{}, std::max<size_t>(chunkBytes, 1)};
    const vclap::OutputStream stream{&sink, writeChunk};
    if (!ext_.state->save(plugin_, &stream)) return std::nullopt;
    return std::move(sink.bytes);
}

bool ClapPlugin::loadState(const std::vector<uint8_t>& bytes, size_t chunkBytes) {
    if (ext_.state == nullptr) return false;
    Source source{bytes, 0, std::max<size_t>(chunkBytes, 1)};
    const vclap::InputStream stream{&source, readChunk};
    return ext_.state->load(plugin_, &stream);
}
