// What the LV2 tests share: running the command-line tools against the built
// bundle, reading rendered files, and the parameter sets they render.
#pragma once

#include <map>
#include <string>
#include <vector>

struct CommandResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

// Runs a shell command line; tools that load LV2 plug-ins see only our bundle.
CommandResult runCommand(const std::string& command);
// Environment prefix for third-party tools: LV2_PATH, and in sanitized builds
// the sanitizer runtimes they need to load our instrumented binaries.
std::string lv2ToolEnvironment();

std::string quoted(const std::string& text);
std::string scratchPath(const std::string& name);

struct StereoFile {
    double sampleRate = 0.0;
    std::vector<float> left;
    std::vector<float> right;
};
StereoFile readStereoFile(const std::string& path);
// Writes the demo signal (1 s by default) as a float WAV file and returns its path.
std::string demoInputFile(double sampleRate, double seconds = 1.0);

// Parameter values by port symbol, as the other formats take them (0..1 for
// the 19 parameters and Mix); unnamed parameters keep their defaults.
using ParameterSet = std::map<std::string, float>;

// Such a value in the unit its LV2 port carries (Hz, dB, %); other ports'
// values (quality, enabled) as they are.
float lv2PortValue(const std::string& symbol, float hostValue);
// The value the plug-in reads from that port: the same, or within a step of
// float where the unit is coarser than the value (a balance of 0.2 is
// -38.4 steps, held to a float's precision).
float lv2EffectiveValue(const std::string& symbol, float hostValue);

// The first index at which two renders differ, or -1 when they are identical
// bit for bit (NaN compared by bits too).
long firstDifference(const std::vector<float>& a, const std::vector<float>& b);
