// The loops that move the saved state (core/state_format.h) through a CLAP
// host's streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "clap/clap_extensions.h"
#include "core/state_format.h"

// The whole of `size` bytes through as many writes as the stream needs.
bool writeAll(const vclap::OutputStream& stream, const uint8_t* bytes, size_t size);
// Reads to the end of the stream; nothing when it fails or holds more than
// kStateMaxBytes (a state of someone else's).
std::optional<StateBytes> readAll(const vclap::InputStream& stream);
