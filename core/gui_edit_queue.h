// The editor's edits on their way to the host: the UI thread queues gesture
// begins, values and gesture ends; the next process (audio thread) or flush
// takes them out and hands them to the host in its format. One writer and one
// reader at a time, no lock and no allocation (see spsc_ring.h). A push fails
// when the host has not taken edits for a long time; the value itself is
// already the plug-in's.
#pragma once

#include <cstdint>

#include "core/host_parameters.h"
#include "core/spsc_ring.h"

struct GuiEdit {
    enum class Kind : uint8_t { Begin, Value, End };
    Kind kind;
    HostParameterId id;
    double value;
};

using GuiEditQueue = SpscRing<GuiEdit, 1024>;
