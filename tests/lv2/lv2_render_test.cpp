// The LV2 build must sound exactly like the VST 2 build: the same input and
// parameters through lv2apply or our lilv host and through velmora.so give
// the same samples, bit for bit (VST 2 given the values the LV2 plug-in
// reads from its ports' units); and a factory preset through LV2 sounds as
// through CLAP.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "lilv_test_host.h"
#include "lv2_test_support.h"
#include "vst2/vst_abi.h"

namespace {

const std::string kUri = "urn:quorvane:velmora";

std::string valueText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

StereoFile renderVst(const std::string& input, const ParameterSet& values, int block) {
    const std::string output = scratchPath("vst.wav");
    std::string command = quoted(VELMORA_HOST_EXE) + " render " + quoted(VELMORA_VST_PLUGIN) + " " + quoted(input) +
                          " " + quoted(output) + " --block " + std::to_string(block);
    for (const auto& [symbol, value] : values)
        command += " --set " + symbol + "=" + valueText(lv2EffectiveValue(symbol, value));
    const CommandResult rendered = runCommand(command);
    if (rendered.exitCode != 0) throw std::runtime_error("velmora-host render failed: " + rendered.output);
    return readStereoFile(output);
}

StereoFile renderLv2apply(const std::string& input, const ParameterSet& values) {
    const std::string output = scratchPath("lv2apply.wav");
    std::string command = lv2ToolEnvironment() + "lv2apply -i " + quoted(input) + " -o " + quoted(output);
    for (const auto& [symbol, value] : values) command += " -c " + symbol + " " + valueText(lv2PortValue(symbol, value));
    const CommandResult rendered = runCommand(command + " " + kUri);
    if (rendered.exitCode != 0) throw std::runtime_error("lv2apply failed: " + rendered.output);
    return readStereoFile(output);
}

void expectIdentical(const StereoFile& lv2, const StereoFile& vst) {
    ASSERT_FALSE(vst.left.empty());
    EXPECT_EQ(lv2.sampleRate, vst.sampleRate);
    const long left = firstDifference(lv2.left, vst.left);
    const long right = firstDifference(lv2.right, vst.right);
    EXPECT_EQ(left, -1) << "left differs at frame " << left;
    EXPECT_EQ(right, -1) << "right differs at frame " << right;
}

// A signal that is not silent in any band, so every routing is heard.
bool audible(const std::vector<float>& samples) {
    double sum = 0.0;
    for (float s : samples) sum += std::fabs(s);
    return sum / static_cast<double>(samples.size()) > 1e-4;
}

struct NamedSet {
    std::string name;
    ParameterSet values;
};

void PrintTo(const NamedSet& set, std::ostream* out) { *out << set.name; }

// Every band driven into a different curve, panned and levelled differently.
ParameterSet mixedBands() {
    return {{"cross1", 0.3f}, {"cross2", 0.7f},   {"balance1", 0.2f}, {"balance3", 0.85f}, {"gain1", 0.55f},
            {"gain2", 0.45f}, {"gain3", 0.5f},    {"type1", 0.2f},    {"type2", 0.55f},    {"type3", 0.9f},
            {"level1", 0.8f}, {"level2", 0.93f},  {"level3", 0.7f},   {"master", 0.9f}};
}

std::vector<NamedSet> routingSets() {
    std::vector<NamedSet> sets;
    for (int solos = 0; solos < 8; ++solos) {
        for (int filter = 0; filter < 2; ++filter) {
            ParameterSet values = mixedBands();
            std::string name = "solo";
            for (int band = 0; band < 3; ++band) {
                const bool on = (solos >> band) & 1;
                values["solo" + std::to_string(band + 1)] = on ? 1.0f : 0.0f;
                name += on ? std::to_string(band + 1) : "";
            }
            if (solos == 0) name = "nosolo";
            values["pfilter"] = static_cast<float>(filter);
            sets.push_back({name + (filter ? "_pfilter" : "_nofilter"), values});
        }
    }
    return sets;
}

// Each curve at the lowest value that selects it, all bands driven hard.
std::vector<NamedSet> curveSets() {
    const char* names[7] = {"saturation1", "saturation2", "saturation3", "hardclip", "puncher", "sinus", "crackler"};
    const float lowest[7] = {0.0f, 0.1666f, 0.3333f, 0.5f, 0.6666f, 0.8333f, 0.9999f};
    std::vector<NamedSet> sets;
    for (int curve = 0; curve < 7; ++curve) {
        ParameterSet values = {{"gain1", 0.6f}, {"gain2", 0.55f}, {"gain3", 0.5f}};
        for (const char* type : {"type1", "type2", "type3"}) values[type] = lowest[curve];
        sets.push_back({names[curve], values});
    }
    return sets;
}

std::vector<NamedSet> allSets() {
    std::vector<NamedSet> sets = routingSets();
    for (NamedSet& curve : curveSets()) sets.push_back(std::move(curve));
    // Cross1 set above the default Cross2 pushes it along; a host that set
    // every port each block would undo that.
    sets.push_back({"cross1_pushes_cross2", {{"cross1", 0.8f}, {"gain2", 0.5f}, {"type2", 0.5f}}});
    sets.push_back({"cross2_pushes_cross1", {{"cross2", 0.2f}, {"gain1", 0.5f}, {"type1", 0.7f}}});
    return sets;
}

class Lv2applyMatchesVst : public ::testing::TestWithParam<NamedSet> {};

}  // namespace

TEST_P(Lv2applyMatchesVst, SampleForSample) {
    const std::string input = demoInputFile(44100.0);
    // lv2apply runs the plug-in one frame at a time.
    const StereoFile vst = renderVst(input, GetParam().values, 1);
    const StereoFile lv2 = renderLv2apply(input, GetParam().values);
    expectIdentical(lv2, vst);
    EXPECT_TRUE(audible(vst.left) || audible(vst.right));
}

INSTANTIATE_TEST_SUITE_P(RoutingsAndCurves, Lv2applyMatchesVst, ::testing::ValuesIn(allSets()),
                         [](const ::testing::TestParamInfo<NamedSet>& info) { return info.param.name; });

TEST(Lv2HostMatchesVst, AnyBlockSizeAndSampleRateGiveTheSameSamples) {
    const std::string input = demoInputFile(48000.0);
    const StereoFile source = readStereoFile(input);
    for (uint32_t block : {64u, 100u, 4096u}) {
        SCOPED_TRACE("block " + std::to_string(block));
        LilvTestHost host(48000.0);
        host.set(mixedBands());
        expectIdentical(host.render(source, block), renderVst(input, mixedBands(), static_cast<int>(block)));
    }
}

TEST(Lv2HostMatchesVst, InPlaceBuffersGiveTheSameSamples) {
    const StereoFile source = readStereoFile(demoInputFile(44100.0));
    LilvTestHost separate(44100.0), inPlace(44100.0);
    separate.set(mixedBands());
    inPlace.set(mixedBands());
    expectIdentical(inPlace.render(source, 256, true), separate.render(source, 256, false));
}

TEST(Lv2HostMatchesVst, ReactivationStartsAfresh) {
    const StereoFile source = readStereoFile(demoInputFile(44100.0, 0.5));
    LilvTestHost host(44100.0);
    ParameterSet values = mixedBands();
    values["cross1"] = 0.8f;  // pushes Cross2 inside the effect, not on the port
    host.set(values);
    const StereoFile first = host.render(source, 512);
    host.deactivate();
    host.activate();
    expectIdentical(host.render(source, 512), first);
}

namespace {

// velmora.so driven in this process through its record, for changes between
// blocks that the command-line render cannot make.
class VstInProcess {
public:
    explicit VstInProcess(double sampleRate, int32_t block) {
        library = dlopen(VELMORA_VST_PLUGIN, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (!library) throw std::runtime_error(dlerror());
        auto entry = reinterpret_cast<VstPluginEntry>(dlsym(library, "VSTPluginMain"));
        effect = entry ? entry(host) : nullptr;
        if (!effect) throw std::runtime_error("no effect");
        call(effOpen);
        call(effSetSampleRate, 0, 0, static_cast<float>(sampleRate));
        call(effSetBlockSize, 0, block);
        call(effMainsChanged, 0, 1);
    }
    ~VstInProcess() {
        call(effMainsChanged, 0, 0);
        call(effClose);
        dlclose(library);
    }
    void set(int index, float value) { effect->setParameter(effect, index, value); }
    void run(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames) {
        float* inputs[2] = {const_cast<float*>(inLeft), const_cast<float*>(inRight)};
        float* outputs[2] = {outLeft, outRight};
        effect->processReplacing(effect, inputs, outputs, frames);
    }

private:
    static VstIntPtr VST_CALLBACK host(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
        return opcode == audioMasterVersion ? 2400 : 0;
    }
    VstIntPtr call(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, nullptr, opt);
    }
    void* library = nullptr;
    AEffect* effect = nullptr;
};

}  // namespace

TEST(Lv2HostMatchesVst, ParameterChangesBetweenBlocksReachTheEffectAlike) {
    const StereoFile source = readStereoFile(demoInputFile(44100.0));
    constexpr uint32_t kBlock = 128;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Block number -> changes made before it.
    const std::vector<std::pair<size_t, ParameterSet>> changes = {
        {0, {{"gain1", 0.6f}, {"type1", 0.5f}, {"gain2", 0.4f}, {"type2", 0.3f}}},
        {40, {{"cross1", 0.8f}}},                // pushes Cross2 up
        {80, {{"cross1", 0.3f}}},                // Cross2 stays where it was pushed
        {120, {{"solo2", 1.0f}, {"gain3", nan}}},
        {160, {{"type2", 0.9999f}, {"pfilter", 0.0f}, {"gain3", 0.5f}}},
        {200, {{"cross2", 0.1f}, {"solo2", 0.0f}}},  // pushes Cross1 down
        {260, {{"master", 0.5f}, {"balance2", 1.0f}}},
    };

    LilvTestHost lv2(44100.0);
    VstInProcess vst(44100.0, kBlock);
    StereoFile lv2Out = source, vstOut = source;
    size_t next = 0;
    for (size_t start = 0, block = 0; start < source.left.size(); start += kBlock, ++block) {
        if (next < changes.size() && changes[next].first == block) {
            for (const auto& [symbol, value] : changes[next].second) {
                lv2.set(symbol, value);
                vst.set(parameterIndex(symbol), lv2EffectiveValue(symbol, value));
            }
            ++next;
        }
        const auto frames = static_cast<uint32_t>(std::min<size_t>(kBlock, source.left.size() - start));
        lv2.run(&source.left[start], &source.right[start], &lv2Out.left[start], &lv2Out.right[start], frames);
        vst.run(&source.left[start], &source.right[start], &vstOut.left[start], &vstOut.right[start],
                static_cast<int32_t>(frames));
    }
    expectIdentical(lv2Out, vstOut);
}

// Restored by lilv from the bundle as hosts restore it, in the ports' units.
TEST(Lv2HostMatchesVst, FactoryPresetsSoundAsThroughClap) {
    const std::string input = demoInputFile(48000.0, 0.5);
    const StereoFile source = readStereoFile(input);
    for (const char* preset : {"Lead Fuzz", "Parallel Smash", "Broken Radio"}) {
        SCOPED_TRACE(preset);
        const std::string output = scratchPath("clap.wav");
        const CommandResult rendered = runCommand(quoted(VELMORA_HOST_EXE) + " render " + quoted(VELMORA_CLAP_PLUGIN) +
                                                  " " + quoted(input) + " " + quoted(output) + " --block 512 --preset " +
                                                  quoted(preset));
        ASSERT_EQ(rendered.exitCode, 0) << rendered.output;
        const StereoFile clap = readStereoFile(output);
        LilvTestHost host(48000.0);
        host.applyPreset(preset);
        const StereoFile lv2 = host.render(source, 512);
        ASSERT_EQ(lv2.left.size(), clap.left.size());
        float largest = 0.0f;
        for (size_t i = 0; i < clap.left.size(); ++i)
            largest = std::max({largest, std::abs(lv2.left[i] - clap.left[i]), std::abs(lv2.right[i] - clap.right[i])});
        EXPECT_LE(largest, 1e-6f);
    }
}
