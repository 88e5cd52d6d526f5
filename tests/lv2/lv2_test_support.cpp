#include "lv2_test_support.h"

#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "core/host_units.h"
#include "core/parameter_table.h"

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string lv2ToolEnvironment() {
    std::string environment = "env LV2_PATH=" + quoted(VELMORA_LV2_PATH);
    const std::string preload = VELMORA_TOOL_PRELOAD;
    if (!preload.empty())
        environment += " LD_PRELOAD=" + quoted(preload) + " ASAN_OPTIONS=detect_leaks=0";
    return environment + " ";
}

std::string scratchPath(const std::string& name) {
    static const std::string directory = [] {
        char pattern[] = "/tmp/velmora-lv2-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) throw std::runtime_error("cannot make a scratch folder");
        return std::string(made);
    }();
    return directory + "/" + name;
}

StereoFile readStereoFile(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    StereoFile result;
    result.sampleRate = info.samplerate;
    std::vector<float> interleaved(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t frames = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    if (info.channels != 2) throw std::runtime_error(path + " is not stereo");
    for (sf_count_t i = 0; i < frames; ++i) {
        result.left.push_back(interleaved[static_cast<size_t>(2 * i)]);
        result.right.push_back(interleaved[static_cast<size_t>(2 * i + 1)]);
    }
    return result;
}

std::string demoInputFile(double sampleRate, double seconds) {
    const std::string path =
        scratchPath("demo-" + std::to_string(static_cast<long>(sampleRate)) + "-" + std::to_string(seconds) + ".wav");
    if (access(path.c_str(), R_OK) == 0) return path;
    const CommandResult made = runCommand(quoted(VELMORA_DEMO_INPUT_EXE) + " " + quoted(path) + " --rate " +
                                          std::to_string(sampleRate) + " --seconds " + std::to_string(seconds));
    if (made.exitCode != 0) throw std::runtime_error("demo input failed: " + made.output);
    return path;
}

long firstDifference(const std::vector<float>& a, const std::vector<float>& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(common);
}

float lv2PortValue(const std::string& symbol, float hostValue) {
    if (symbol == "mix") return unitFloat(kHostMixId, hostValue);
    for (int index = 0; index < kNumParameters; ++index)
        if (symbol == kParameterTable[index].symbol) return unitFloat(static_cast<HostParameterId>(index), hostValue);
    return hostValue;
}

float lv2EffectiveValue(const std::string& symbol, float hostValue) {
    for (int index = 0; index < kNumParameters; ++index)
        if (symbol == kParameterTable[index].symbol)
            return hostFloatOfUnit(static_cast<HostParameterId>(index), lv2PortValue(symbol, hostValue));
    return symbol == "mix" ? hostFloatOfUnit(kHostMixId, lv2PortValue(symbol, hostValue)) : hostValue;
}
