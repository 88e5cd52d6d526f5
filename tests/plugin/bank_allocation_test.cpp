// An effect whose program bank cannot be allocated must stay usable: no
// parameter or program operation may touch the missing bank.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "host_recorder.h"
#include "vst2/distortion_effect.h"

namespace {
bool failArrayAllocations = false;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (failArrayAllocations) return nullptr;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size) {
    if (void* pointer = std::malloc(size ? size : 1)) return pointer;
    throw std::bad_alloc();
}
void operator delete[](void* pointer) noexcept { std::free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { std::free(pointer); }

TEST(MissingBank, EveryParameterAndProgramOperationStaysSafe) {
    failArrayAllocations = true;
    DistortionEffect effect(recordingHost);
    failArrayAllocations = false;

    EXPECT_EQ(effect.getParameter(0), 0.5f);
    effect.setParameter(0, 0.9f);
    EXPECT_EQ(effect.getParameter(0), 0.9f);
    EXPECT_EQ(effect.getParameter(1), 0.9f);
    effect.setProgram(3);
    char name[64] = "x";
    effect.setProgramName(name);
    effect.getProgramName(name);
    EXPECT_STREQ(name, "");
    EXPECT_FALSE(effect.getProgramNameIndexed(0, 0, name));
    float left[64] = {}, right[64] = {};
    float* io[2] = {left, right};
    effect.processReplacing(io, io, 64);
}
