// The module's factory (one static object, vst3_factory.cpp) and what an
// instance may ask of it.
#pragma once

#include "vst3/vst3_abi.h"

// The factory with one reference added.
vvst3::IPluginFactory* vst3Factory();

// What the host passed to setHostContext (borrowed; null when none): on
// Linux it answers the run loop an instance without an editor ticks on.
vvst3::FUnknown* vst3FactoryHostContext();
