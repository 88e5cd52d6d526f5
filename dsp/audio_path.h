// The two compiled copies of the audio path and the choice between them.
// "avx" is the copy built for processors with AVX: on x86-64 it runs parts
// of the path on 256-bit vectors; on 32-bit x86, whose eight vector
// registers the wider loops would spill, it is the same 128-bit code in the
// VEX encoding. "sse2" is the copy every x86 processor runs. Both give the
// same bits (no FMA anywhere), so the choice only changes the speed.
#pragma once

#include <optional>
#include <string_view>

enum class AudioPath { Sse2, Avx };

// Whether the processor has AVX and the operating system saves the 256-bit
// register state across context switches (CPUID, then XGETBV). Asked once
// per process.
bool processorRunsAvx();

bool audioPathAvailable(AudioPath path);

// The environment variable a host or test sets to force a copy.
constexpr const char* kAudioPathVariable = "VELMORA_AUDIO_PATH";

// The copy a new instance runs: the one kAudioPathVariable names when it is
// available, otherwise the fastest one available. Reads the environment, so
// never call it from the audio thread.
AudioPath chosenAudioPath();

const char* audioPathName(AudioPath path);
// The name with what the copy does on this build, for people.
const char* audioPathDescription(AudioPath path);
std::optional<AudioPath> audioPathNamed(std::string_view name);
