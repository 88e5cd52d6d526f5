// Helpers for tests that run the built velmora-host as a separate process,
// the way users and scripts do, and look at its exit status, output and files.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

struct HostRun {
    int status = -1;  // exit status, or -1 when killed by a signal
    std::string out;
    std::string err;
};

// Environment changes for a run: "NAME=VALUE" sets, "-NAME" removes.
using EnvChanges = std::vector<std::string>;
inline const EnvChanges kWithoutDisplay = {"-DISPLAY"};
// Leaks inside third-party plug-ins are theirs; a sanitized host must not fail on them.
inline const EnvChanges kForeignPlugin = {"LSAN_OPTIONS=detect_leaks=0"};

// Runs velmora-host with these arguments.
HostRun runHost(const std::vector<std::string>& args, const EnvChanges& env = {});

// Runs any program (found on PATH when argv[0] has no slash) the same way.
HostRun runProgram(const std::vector<std::string>& argv, const EnvChanges& env = {});

// Starts velmora-host in the background with stdout going to outFile and
// stderr to outFile + ".err".
pid_t startHost(const std::vector<std::string>& args, const std::filesystem::path& outFile);
pid_t startProgram(const std::vector<std::string>& argv, const std::filesystem::path& outFile,
                   const EnvChanges& env = {});
// Waits up to timeoutSeconds; returns the exit status, or -1 after killing a
// process that did not end.
int waitHost(pid_t pid, double timeoutSeconds);

// The Debian peer plug-ins, tested when installed.
inline const char* const kPeers[] = {"/usr/lib/vst/3BandSplitter-vst.so",
                                     "/usr/lib/vst/lsp-plugins/crossover-stereo.so"};
// Test name for a peer: its file name without extension, letters and digits only.
inline std::string peerTestName(const ::testing::TestParamInfo<const char*>& info) {
    std::string name = std::filesystem::path(info.param).stem().string();
    std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return name;
}

std::string fixturePath(const std::string& name);  // a fixture plug-in by kind name
std::string clapFixturePath(const std::string& name);  // a CLAP fixture by kind name
std::string velmoraPath();                          // empty when the plug-in is not built
std::string velmoraClapPath();                      // velmora.clap; empty when not built
bool haveDisplay();

// A fresh directory removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    bool empty() const;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct Sound {
    int channels = 0;
    int sampleRate = 0;
    int format = 0;  // libsndfile format word
    std::vector<float> samples;  // interleaved
    size_t frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
    float peak() const;
};

Sound readSound(const std::filesystem::path& path);
void writeSound(const std::filesystem::path& path, int channels, int sampleRate, const std::vector<float>& samples);

// True when the line appears as a whole line of text.
bool hasLine(const std::string& text, const std::string& line);
// Number of lines in text.
size_t lineCount(const std::string& text);

// A traced knob drag: exactly one beginEdit/endEdit pair for the parameter,
// only automate lines for it in between, and the last one near `value`.
inline void expectOneDragEndingNear(const std::vector<std::string>& lines, int index, float value) {
    std::string trace;
    for (const auto& line : lines) trace += line + "\n";
    const std::string beginLine = "beginEdit " + std::to_string(index);
    const auto begin = std::find(lines.begin(), lines.end(), beginLine);
    const auto end = std::find(lines.begin(), lines.end(), "endEdit " + std::to_string(index));
    ASSERT_NE(begin, lines.end()) << trace;
    ASSERT_NE(end, lines.end()) << trace;
    ASSERT_LT(begin, end);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), beginLine), 1);
    const std::string automate = "automate " + std::to_string(index) + " %f";
    float last = -1.0f;
    for (auto line = begin + 1; line != end; ++line)
        ASSERT_EQ(std::sscanf(line->c_str(), automate.c_str(), &last), 1) << *line;
    EXPECT_NEAR(last, value, 0.02f);
}
