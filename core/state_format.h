// The plug-in's saved state in the formats whose interface is ours: every
// parameter's value, in a small format of its own. Each adapter keeps only
// the loop that moves these bytes through its host's streams.
//
// Layout, all numbers little-endian:
//   4 bytes   magic "VLMS"
//   uint32    format version, 1
//   uint32    count of values that follow, 1 to the number of parameters
//   count x   { uint32 parameter id, float32 value }
// A state loads whenever it is ours and whole: magic and version match and
// the stream holds at least the entries its count announces. What it holds
// is taken as far as it goes: a value outside its parameter's range is
// clamped into it (NaN becomes the default), an id this build does not know
// (a newer build's parameter) is skipped, a later entry for the same id wins,
// a parameter it lacks (an older build's state) gets its default, and bytes
// after the last entry are ignored. So a project never loses every setting
// to one odd value. Anything else (empty, cut short, another magic or
// version) is not ours, and loading it changes nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/host_parameters.h"

struct SavedValues {
    // Every parameter's value, within its range.
    std::array<float, kHostParameterCount> byIndex;
};

inline constexpr size_t kStateHeaderBytes = 12;
inline constexpr size_t kStateEntryBytes = 8;
// Room for the entries of later builds with more parameters.
inline constexpr size_t kStateMaxEntries = 64;
inline constexpr size_t kStateMaxBytes = kStateHeaderBytes + kStateMaxEntries * kStateEntryBytes;
static_assert(kHostParameterCount <= kStateMaxEntries);

struct StateBytes {
    std::array<uint8_t, kStateMaxBytes> bytes;
    size_t size;
};

StateBytes encodeState(const std::array<float, kHostParameterCount>& values);
std::optional<SavedValues> decodeState(const uint8_t* bytes, size_t size);

