// Velmora's VST 3 class id. Hosts store it in every project and preset that
// uses the plug-in and find the plug-in by it, so these four words were
// chosen once and never change, whatever the version. The bytes follow the
// identifier rule of the system compiled for.
#pragma once

#include "vst3/vst3_abi.h"

inline constexpr uint32_t kVelmoraClassIdWords[4] = {0xC6349871, 0xC4C92E47, 0xB8377D67, 0x21B7CB91};

inline constexpr vvst3::Uid kVelmoraClassId = vvst3::makeUid(
    kVelmoraClassIdWords[0], kVelmoraClassIdWords[1], kVelmoraClassIdWords[2], kVelmoraClassIdWords[3]);
