// The plug-in's saved state: every parameter's value, in a small format of
// its own, and the loops that move it through a host's streams.
//
// Layout, all numbers little-endian:
//   4 bytes   magic "VLMS"
//   uint32    format version, 1
//   uint32    count of values that follow, 1 to the number of parameters
//   count x   { uint32 parameter id, float32 value }
// Ids are unique and known, values finite and within the parameter's range
// (0..1, Quality 0..3). Anything else (empty, cut short, longer than its
// count says, another magic or a newer version) is not ours, and loading it
// changes nothing. Quality (id 19) came after the first states were saved:
// a state without it loads as Normal, which is how it sounded. Since every
// entry carries its id, that needed no new version; a build from before
// Quality refuses a state holding it, as it refuses any unknown id.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "clap/clap_extensions.h"
#include "clap/clap_parameters.h"

struct SavedValues {
    // NaN for a parameter the state does not hold.
    std::array<float, kClapParameterCount> byIndex;
};

inline constexpr size_t kStateHeaderBytes = 12;
inline constexpr size_t kStateEntryBytes = 8;
inline constexpr size_t kStateMaxBytes = kStateHeaderBytes + kClapParameterCount * kStateEntryBytes;

struct StateBytes {
    std::array<uint8_t, kStateMaxBytes> bytes;
    size_t size;
};

StateBytes encodeState(const std::array<float, kClapParameterCount>& values);
std::optional<SavedValues> decodeState(const uint8_t* bytes, size_t size);

// The whole of `size` bytes through as many writes as the stream needs.
bool writeAll(const vclap::OutputStream& stream, const uint8_t* bytes, size_t size);
// Reads to the end of the stream; nothing when it fails or holds more than
// kStateMaxBytes (a state of someone else's).
std::optional<StateBytes> readAll(const vclap::InputStream& stream);
