// velmora.vst3 driven through its interfaces as a host drives it: the same
// bits as velmora.clap for the same changes at the same frames, its state,
// the latency across a Quality change, the program list, the texts, and a
// careless host's calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>

#include "core/factory_presets.h"
#include "host/clap_plugin.h"
#include "host/loaded_plugin.h"
#include "tests/vst3/vst3_test_host.h"
#include "vst3/vst3_class_id.h"

namespace {

constexpr vvst3::ParamID kQuality = 19, kMix = 20, kBypass = 21, kProgram = 22;

class VelmoraVst3 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(module.factory, nullptr) << dlerror();
        ASSERT_TRUE(plugin.ready());
    }
    // The plug-in's own words for a value, and its reading of them.
    std::string text(vvst3::ParamID id, double normalised) {
        vvst3::String128 string = {};
        EXPECT_EQ(plugin.controller->getParamStringByValue(id, normalised, string), vvst3::kResultOk);
        std::string out;
        for (const char16_t* c = string; *c != 0; ++c) out += static_cast<char>(*c);
        return out;
    }
    double valueOf(vvst3::ParamID id, const std::string& shown) {
        std::u16string string(shown.begin(), shown.end());
        double value = -1.0;
        EXPECT_EQ(plugin.controller->getParamValueByString(id, string.data(), value), vvst3::kResultOk) << shown;
        return value;
    }
    std::vector<double> values() {
        std::vector<double> all;
        for (vvst3::ParamID id = 0; id <= kProgram; ++id) all.push_back(plugin.controller->getParamNormalized(id));
        return all;
    }

    LoadedVst3Module module{VELMORA_VST3_PLUGIN};
    TestVst3Instance plugin{*module.factory, kVelmoraClassId};
};

// The state bytes (little-endian "VLMS", version 1, count, id/value pairs).
std::vector<uint8_t> stateWith(const std::vector<std::pair<uint32_t, float>>& entries) {
    std::vector<uint8_t> bytes = {'V', 'L', 'M', 'S'};
    const auto word = [&](uint32_t w) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
    };
    word(1);
    word(static_cast<uint32_t>(entries.size()));
    for (const auto& [id, value] : entries) word(id), word(std::bit_cast<uint32_t>(value));
    return bytes;
}

struct Change {
    int32_t frame;
    vvst3::ParamID id;
    float value;  // normalised; the same number is CLAP's plain value
};

// In frame order (both plug-ins take changes at one frame in the order
// given). Knobs,
// curve types (at their sixths), switches, a crossover pushed past its
// partner, Mix and Bypass, and a frame beyond the block.
std::vector<Change> changesFor(int block, int32_t frames) {
    const float x = static_cast<float>(block % 7) / 7.0f;
    std::vector<Change> changes = {{0, 9, x}, {frames / 4, static_cast<vvst3::ParamID>(12 + block % 3),
                                               static_cast<float>((block % 7) / 6.0)}};
    if (block % 2 == 0) changes.push_back({frames / 3, static_cast<vvst3::ParamID>(2 + block % 4), float(block / 2 % 2)});
    changes.push_back({frames / 2, static_cast<vvst3::ParamID>(block % 2), 0.2f + 0.7f * x});
    changes.push_back({frames * 2 / 3, kMix, 1.0f - 0.5f * x});
    if (block % 9 == 4) changes.push_back({std::max(frames - 2, frames * 2 / 3), kBypass, float(block / 9 % 2 == 0)});
    if (block % 5 == 0) changes.push_back({frames + 10, 18, 0.5f + 0.5f * x});
    return changes;
}

TEST_F(VelmoraVst3, SoundsBitIdenticalToClapForChangesInsideBlocksAtNormalAnd4x) {
    for (const float quality : {0.0f, 2.0f}) {
        TestVst3Instance vst3(*module.factory, kVelmoraClassId);
        const auto loaded = loadPlugin(VELMORA_CLAP_PLUGIN);
        auto* clap = dynamic_cast<ClapPlugin*>(loaded.get());
        ASSERT_NE(clap, nullptr);
        const std::vector<uint8_t> state = stateWith({{kQuality, quality}});
        MemoryStream stream(state);
        ASSERT_EQ(vst3.component->setState(&stream), vvst3::kResultOk);
        ASSERT_TRUE(clap->loadState(state));
        constexpr int32_t kMax = 300;
        ASSERT_TRUE(vst3.start(48000.0, kMax));
        clap->configure(48000.0, kMax);
        clap->prepareAudio();
        clap->start();
        EXPECT_EQ(vst3.processor->getLatencySamples(), static_cast<uint32_t>(clap->latency()));
        std::vector<float> in[2], clapOut[2], vst3Out[2];
        for (auto* buffers : {in, clapOut, vst3Out}) buffers[0].resize(kMax), buffers[1].resize(kMax);
        const int32_t sizes[] = {300, 1, 97, 64, 256};
        for (int block = 0; block < 45; ++block) {
            const int32_t frames = sizes[block % 5];
            for (int32_t i = 0; i < frames; ++i) {
                const double t = (block * kMax + i) / 48000.0;
                in[0][i] = static_cast<float>(0.6 * std::sin(2 * M_PI * 110 * t) + 0.2 * std::sin(2 * M_PI * 3100 * t));
                in[1][i] = static_cast<float>(0.5 * std::sin(2 * M_PI * 165 * t));
            }
            TestChanges changes;
            for (const Change& change : changesFor(block, frames)) {
                changes.add(change.id, change.frame, change.value);
                clap->setParameterAt(static_cast<int32_t>(change.id), change.value, static_cast<uint32_t>(change.frame));
            }
            clap->process(in[0].data(), in[1].data(), clapOut[0].data(), clapOut[1].data(), frames);
            // Every other block in place: the output overwrites the input.
            const bool inPlace = block % 2 == 1;
            if (inPlace) std::copy(in, in + 2, vst3Out);
            float* source[2] = {inPlace ? vst3Out[0].data() : in[0].data(), inPlace ? vst3Out[1].data() : in[1].data()};
            float* target[2] = {vst3Out[0].data(), vst3Out[1].data()};
            ASSERT_EQ(vst3.process(source, target, frames, &changes), vvst3::kResultOk);
            for (int c = 0; c < 2; ++c)
                ASSERT_TRUE(std::equal(vst3Out[c].begin(), vst3Out[c].begin() + frames, clapOut[c].begin()))
                    << "quality " << quality << " block " << block << " channel " << c;
        }
        clap->stop();
    }
}

TEST_F(VelmoraVst3, StateRoundTripsThroughShortStreamsAndForeignOrCutStatesChangeNothing) {
    for (const auto& [id, value] : std::vector<std::pair<vvst3::ParamID, double>>{
             {0, 0.8}, {1, 0.3}, {9, 0.61}, {13, 4.0 / 6.0}, {kQuality, 1.0}, {kMix, 0.25}, {kBypass, 1.0}})
        ASSERT_EQ(plugin.controller->setParamNormalized(id, value), vvst3::kResultOk);
    const std::vector<double> set = values();
    EXPECT_EQ(set[0], set[1]) << "Cross1 pushed along by Cross2";
    MemoryStream saved({}, 5);
    ASSERT_EQ(plugin.component->getState(&saved), vvst3::kResultOk);

    // A window into a larger file: only the state's own bytes are read.
    TestVst3Instance other(*module.factory, kVelmoraClassId);
    std::vector<uint8_t> file = saved.bytes;
    file.insert(file.end(), {1, 2, 3, 4, 5});
    MemoryStream window(file, 3);
    ASSERT_EQ(other.component->setState(&window), vvst3::kResultOk);
    EXPECT_EQ(window.position, static_cast<int32_t>(saved.bytes.size()));
    MemoryStream again(saved.bytes);
    EXPECT_EQ(other.controller->setComponentState(&again), vvst3::kResultOk);
    EXPECT_TRUE(other.handler.restarts.empty()) << "no handler call while loading";
    for (vvst3::ParamID id = 0; id < kProgram; ++id)
        EXPECT_EQ(other.controller->getParamNormalized(id), set[id]) << id;

    auto cut = saved.bytes, foreign = saved.bytes;
    cut.resize(cut.size() - 3);
    foreign[1] = 'X';
    for (const auto& bytes : {std::vector<uint8_t>{}, cut, foreign, stateWith({})}) {
        MemoryStream stream(bytes);
        EXPECT_EQ(plugin.component->setState(&stream), vvst3::kResultFalse);
        EXPECT_EQ(values(), set);
    }
    EXPECT_EQ(plugin.component->setState(nullptr), vvst3::kInvalidArgument);
    MemoryStream empty;
    EXPECT_EQ(plugin.controller->getState(&empty), vvst3::kResultOk);
    EXPECT_EQ(plugin.controller->setState(&empty), vvst3::kResultOk);
}

// While active the latency stays; the host is asked (on the UI thread's tick)
// to restart, and the new latency comes with the next activation.
TEST_F(VelmoraVst3, AQualityChangeWhileActiveAsksForARestartAndTakesEffectAtTheNext) {
    ASSERT_TRUE(plugin.start(48000.0, 64));
    const uint32_t normal = plugin.processor->getLatencySamples();
    std::vector<float> left(64, 0.1f), right(64, 0.1f);
    float* channels[2] = {left.data(), right.data()};
    TestChanges changes;
    changes.add(kQuality, 10, 2.0 / 3.0);
    ASSERT_EQ(plugin.process(channels, channels, 64, &changes), vvst3::kResultOk);
    EXPECT_EQ(plugin.processor->getLatencySamples(), normal);
    EXPECT_EQ(text(kQuality, plugin.controller->getParamNormalized(kQuality)), "4x");
    EXPECT_TRUE(plugin.handler.restarts.empty()) << "not from the audio thread";
    plugin.context.runLoop.fireTimers();
    ASSERT_EQ(plugin.handler.restarts, std::vector<int32_t>{vvst3::restart::kLatencyChanged});

    ASSERT_EQ(plugin.processor->setProcessing(0), vvst3::kResultOk);
    ASSERT_EQ(plugin.component->setActive(0), vvst3::kResultOk);
    ASSERT_EQ(plugin.component->setActive(1), vvst3::kResultOk);
    EXPECT_GT(plugin.processor->getLatencySamples(), normal);
    plugin.context.runLoop.fireTimers();
    EXPECT_EQ(plugin.handler.restarts.size(), 1u) << "the answer to our own request is no news";
}

TEST_F(VelmoraVst3, ParametersAndTextsAsHostsShowThemAndTheFactoryProgramList) {
    ASSERT_EQ(plugin.controller->getParameterCount(), 23);
    vvst3::ParameterInfo info{};
    using Info = vvst3::ParameterInfo;
    ASSERT_EQ(plugin.controller->getParameterInfo(kBypass, info), vvst3::kResultOk);
    EXPECT_EQ(info.flags, Info::kCanAutomate | Info::kIsBypass | Info::kIsList);
    EXPECT_EQ(info.stepCount, 1);
    ASSERT_EQ(plugin.controller->getParameterInfo(kQuality, info), vvst3::kResultOk);
    EXPECT_EQ(info.stepCount, 3);
    ASSERT_EQ(plugin.controller->getParameterInfo(kProgram, info), vvst3::kResultOk);
    EXPECT_EQ(info.flags, Info::kIsProgramChange | Info::kIsList);
    EXPECT_EQ(info.stepCount, 15);

    EXPECT_EQ(text(0, 0.0), "20 Hz");
    EXPECT_EQ(text(12, 0.5), "HardClip");
    EXPECT_EQ(text(kQuality, 2.0 / 3.0), "4x");
    EXPECT_EQ(text(kMix, 0.35), "35 %");
    EXPECT_EQ(text(kBypass, 1.0), "On");
    EXPECT_EQ(text(kProgram, 1.0), kFactoryPresets[15].name);
    for (const auto& [id, normalised] : std::vector<std::pair<vvst3::ParamID, double>>{
             {0, 0.0}, {9, 0.61}, {14, 1.0}, {kQuality, 2.0 / 3.0}, {kMix, 0.35}, {kBypass, 1.0}, {kProgram, 0.2}})
        EXPECT_EQ(text(id, valueOf(id, text(id, normalised))), text(id, normalised)) << id;
    EXPECT_DOUBLE_EQ(valueOf(12, "HardClip"), 0.5);

    auto* units = queried<vvst3::IUnitInfo>(plugin.component);
    ASSERT_NE(units, nullptr);
    vvst3::ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), vvst3::kResultOk);
    EXPECT_EQ(list.programCount, 16);
    EXPECT_EQ(std::u16string(list.name), u"Factory Presets");
    for (int32_t k = 0; k < 16; ++k) {
        vvst3::String128 name = {};
        ASSERT_EQ(units->getProgramName(list.id, k, name), vvst3::kResultOk);
        EXPECT_EQ(std::u16string(name), std::u16string(kFactoryPresets[k].name, kFactoryPresets[k].name +
                                                                                  std::strlen(kFactoryPresets[k].name)));
    }
    units->release();

    // From process: the values change at once, go back to the host and are
    // announced on the next tick; Quality and Bypass stay.
    ASSERT_EQ(plugin.controller->setParamNormalized(kBypass, 1.0), vvst3::kResultOk);
    ASSERT_TRUE(plugin.start(44100.0, 32));
    TestChanges changes, produced;
    changes.add(kProgram, 5, 3.0 / 15.0);
    std::vector<float> left(32), right(32);
    float* channels[2] = {left.data(), right.data()};
    ASSERT_EQ(plugin.process(channels, channels, 32, &changes, &produced), vvst3::kResultOk);
    double reported = -1.0;
    ASSERT_TRUE(produced.last(9, reported));
    EXPECT_EQ(reported, plugin.controller->getParamNormalized(9));
    EXPECT_FLOAT_EQ(static_cast<float>(reported), kFactoryPresets[3].values[9]);
    EXPECT_EQ(plugin.controller->getParamNormalized(kBypass), 1.0);
    EXPECT_DOUBLE_EQ(plugin.controller->getParamNormalized(kProgram), 3.0 / 15.0);
    plugin.context.runLoop.fireTimers();
    EXPECT_EQ(plugin.handler.restarts, std::vector<int32_t>{vvst3::restart::kParamValuesChanged});
    // From the controller: applied at once, announced from the next tick,
    // never from within the host's own call (a host may hold a lock there).
    ASSERT_EQ(plugin.controller->setParamNormalized(kProgram, 1.0), vvst3::kResultOk);
    EXPECT_FLOAT_EQ(static_cast<float>(plugin.controller->getParamNormalized(kMix)), kFactoryPresets[15].mix);
    EXPECT_EQ(plugin.handler.restarts.size(), 1u);
    plugin.context.runLoop.fireTimers();
    EXPECT_EQ(plugin.handler.restarts.size(), 2u);
}

TEST_F(VelmoraVst3, ACarelessHostIsRefusedClearlyAndNeverCrashesIt) {
    void* object = &object;
    EXPECT_EQ(plugin.component->queryInterface(vvst3::IPlugView::iid.bytes, &object), vvst3::kNoInterface);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(plugin.component->queryInterface(vvst3::IComponent::iid.bytes, nullptr), vvst3::kInvalidArgument);
    EXPECT_EQ(module.factory->createInstance(vvst3::IComponent::iid.bytes, vvst3::IComponent::iid.bytes, &object),
              vvst3::kNoInterface);
    vvst3::TUID controllerClass = {};
    EXPECT_NE(plugin.component->getControllerClassId(controllerClass), vvst3::kResultOk);
    EXPECT_EQ(plugin.component->initialize(&plugin.context), vvst3::kResultFalse);

    std::vector<float> left(512, 0.5f), right(512, 0.5f);
    float* channels[2] = {left.data(), right.data()};
    TestChanges changes;
    changes.add(9, 3, std::numeric_limits<double>::quiet_NaN());
    changes.add(10, -7, 7.5);
    changes.add(11, 900, -3.0);
    changes.add(0xFFFFFFF0u, 1, 0.5);
    EXPECT_EQ(plugin.process(channels, channels, 64, &changes), vvst3::kNotInitialized);
    vvst3::ProcessSetup doubles{vvst3::kRealtime, vvst3::kSample64, 64, 48000.0};
    EXPECT_EQ(plugin.processor->setupProcessing(doubles), vvst3::kResultFalse);
    EXPECT_EQ(plugin.processor->canProcessSampleSize(vvst3::kSample64), vvst3::kResultFalse);
    EXPECT_EQ(plugin.component->setActive(1), vvst3::kNotInitialized);
    vvst3::SpeakerArrangement mono = vvst3::speaker_arrangement::kMono, stereo = vvst3::speaker_arrangement::kStereo;
    EXPECT_EQ(plugin.processor->setBusArrangements(&mono, 1, &mono, 1), vvst3::kResultFalse);
    EXPECT_EQ(plugin.processor->setBusArrangements(&stereo, 1, &stereo, 2), vvst3::kResultFalse);
    EXPECT_EQ(plugin.processor->setBusArrangements(&stereo, 1, &stereo, 1), vvst3::kResultTrue);
    EXPECT_EQ(plugin.controller->setParamNormalized(9, std::nan("")), vvst3::kInvalidArgument);
    EXPECT_EQ(plugin.controller->setParamNormalized(99, 0.5), vvst3::kInvalidArgument);
    vvst3::ParameterInfo info{};
    EXPECT_EQ(plugin.controller->getParameterInfo(-1, info), vvst3::kInvalidArgument);
    EXPECT_EQ(plugin.controller->getParameterInfo(23, info), vvst3::kInvalidArgument);
    EXPECT_EQ(plugin.controller->getParamStringByValue(9, 0.5, nullptr), vvst3::kInvalidArgument);
    EXPECT_EQ(plugin.controller->createView("other"), nullptr);

    // Active: odd points apply within the block, more frames than declared
    // are processed, and the output stays finite.
    ASSERT_TRUE(plugin.start(48000.0, 64));
    const double gain = plugin.controller->getParamNormalized(9);
    ASSERT_EQ(plugin.process(channels, channels, 512, &changes), vvst3::kResultOk);
    EXPECT_EQ(plugin.controller->getParamNormalized(9), gain) << "NaN changes nothing";
    EXPECT_EQ(plugin.controller->getParamNormalized(10), 1.0);
    EXPECT_EQ(plugin.controller->getParamNormalized(11), 0.0);
    EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](float v) { return std::isfinite(v); }));
    // A flush without buses applies values; audio without buffers is refused.
    TestChanges flush;
    flush.add(9, 0, 0.25);
    vvst3::ProcessData data{vvst3::kRealtime, vvst3::kSample32, 0, 0, 0, nullptr, nullptr,
                            &flush, nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(plugin.processor->process(data), vvst3::kResultOk);
    EXPECT_EQ(plugin.controller->getParamNormalized(9), 0.25);
    data.numSamples = 16;
    EXPECT_EQ(plugin.processor->process(data), vvst3::kInvalidArgument);
    data.symbolicSampleSize = vvst3::kSample64;
    EXPECT_EQ(plugin.processor->process(data), vvst3::kInvalidArgument);

    // The view refuses what is not its platform and a missing parent.
    vvst3::IPlugView* view = plugin.controller->createView(vvst3::kEditorViewType);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(vvst3::kPlatformTypeHWND), vvst3::kResultFalse);
    EXPECT_EQ(view->attached(nullptr, vvst3::kPlatformTypeX11EmbedWindowID), vvst3::kInvalidArgument);
    EXPECT_EQ(view->removed(), vvst3::kResultOk);
    EXPECT_EQ(view->getSize(nullptr), vvst3::kInvalidArgument);

    // Teardown out of order: terminate while active and with a view, twice.
    EXPECT_EQ(plugin.component->terminate(), vvst3::kResultOk);
    EXPECT_EQ(plugin.component->terminate(), vvst3::kNotInitialized);
    EXPECT_EQ(plugin.process(channels, channels, 64, nullptr), vvst3::kNotInitialized);
    view->release();
}

}  // namespace
