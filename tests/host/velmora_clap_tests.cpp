// velmora.clap against velmora.so: the same sound for the same values at the
// same frames, its state through short streams and hostile ones, and the
// texts VST 2 shows, read back. Both plug-ins are the built ones, loaded by
// velmora-host or by its plug-in classes in this process.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "clap/clap_extensions.h"
#include "dsp/distortion_processor.h"
#include "tests/support/low_frequency_delay.h"
#include "host/clap_plugin.h"
#include "host/loaded_plugin.h"
#include "host_runner.h"

namespace {

constexpr int32_t kParameters = 19;  // VST 2's; CLAP has Quality, Mix and Bypass after them
constexpr int32_t kQuality = 19;
constexpr int32_t kMix = 20;
constexpr int32_t kBypass = 21;
const char* const kQualityTexts[] = {"Normal", "2x", "4x", "8x"};

class VelmoraClap : public ::testing::Test {
protected:
    void SetUp() override {
        if (velmoraPath().empty() || velmoraClapPath().empty()) GTEST_SKIP() << "a plug-in is not built";
    }
};

TEST_F(VelmoraClap, RendersBitIdenticalToVst2ForSettingsAndBlocks) {
    const std::vector<std::vector<std::string>> cases = {
        {"--block", "512"},
        {"--block", "1", "--set", "Gain1=0.6", "--set", "Type1=0.9"},
        {"--block", "37", "--set", "Gain2=0.7", "--set", "Type2=0.4", "--set", "PFilter=0", "--set", "Cross1=0.8"},
        {"--block", "64", "--set", "Solo2=1", "--set", "Solo3=1", "--set", "Balance3=0.1", "--set", "Master=0.3",
         "--set", "Gain3=0.9", "--set", "Type3=0.6", "--rate", "96000"},
    };
    for (const auto& settings : cases) {
        ScratchDir dir;
        std::vector<std::string> vst2 = {"render", velmoraPath(), (dir / "vst2.wav").string()};
        std::vector<std::string> clap = {"render", velmoraClapPath(), (dir / "clap.wav").string()};
        vst2.insert(vst2.end(), settings.begin(), settings.end());
        clap.insert(clap.end(), settings.begin(), settings.end());
        const HostRun vst2Run = runHost(vst2);
        const HostRun clapRun = runHost(clap);
        ASSERT_EQ(vst2Run.status, 0) << vst2Run.err;
        ASSERT_EQ(clapRun.status, 0) << clapRun.err;
        const Sound expected = readSound(dir / "vst2.wav");
        EXPECT_GT(expected.peak(), 0.01f) << settings[1];
        EXPECT_TRUE(readSound(dir / "clap.wav").samples == expected.samples) << "block " << settings[1];
    }
}

struct Change {
    uint32_t frame;  // beyond the block: applies after it
    int32_t index;
    float value;
};

// A block's changes, in frame order: knobs, curves, switches and a crossover
// pushed past its partner, at the first frame, inside and beyond the end.
std::vector<Change> changesFor(int block, uint32_t frames) {
    const float x = static_cast<float>(block % 7) / 7.0f;
    std::vector<Change> changes = {{0, 9, x}, {frames / 3, 12 + block % 3, 1.0f - x}, {frames / 2, 0, 0.2f + 0.7f * x}};
    if (block % 2 == 0) changes.push_back({frames / 2, 2 + block % 4, static_cast<float>(block / 2 % 2)});
    changes.push_back({frames - 1, 18, 0.5f + 0.5f * x});
    if (block % 5 == 0) changes.push_back({frames + 10, 10, x});
    return changes;
}

TEST_F(VelmoraClap, EventsInsideABlockSoundAsVst2SplitAtTheirFrames) {
    const auto vst2 = loadPlugin(velmoraPath());
    const auto clapLoaded = loadPlugin(velmoraClapPath());
    auto* clap = dynamic_cast<ClapPlugin*>(clapLoaded.get());
    ASSERT_NE(clap, nullptr);
    constexpr int32_t kMax = 300;
    for (LoadedPlugin* plugin : {vst2.get(), clapLoaded.get()}) {
        plugin->configure(48000.0, kMax);
        plugin->prepareAudio();
        plugin->start();
    }
    std::vector<float> left(kMax), right(kMax), vst2Out[2], clapOut[2];
    for (auto* out : {vst2Out, clapOut}) out[0].resize(kMax), out[1].resize(kMax);
    const uint32_t sizes[] = {300, 1, 97, 64, 256};
    for (int block = 0; block < 60; ++block) {
        const uint32_t frames = sizes[block % 5];
        for (uint32_t i = 0; i < frames; ++i) {
            const double t = (block * kMax + i) / 48000.0;
            left[i] = static_cast<float>(0.6 * std::sin(2 * M_PI * 110 * t) + 0.2 * std::sin(2 * M_PI * 3100 * t));
            right[i] = static_cast<float>(0.5 * std::sin(2 * M_PI * 165 * t));
        }
        uint32_t done = 0;
        for (const Change& change : changesFor(block, frames)) {
            const uint32_t at = std::min(change.frame, frames);
            if (at > done) vst2->process(&left[done], &right[done], &vst2Out[0][done], &vst2Out[1][done], int32_t(at - done));
            done = std::max(done, at);
            vst2->setParameter(change.index, change.value);
            clap->setParameterAt(change.index, change.value, change.frame);
        }
        if (done < frames) vst2->process(&left[done], &right[done], &vst2Out[0][done], &vst2Out[1][done], int32_t(frames - done));
        clap->process(left.data(), right.data(), clapOut[0].data(), clapOut[1].data(), int32_t(frames));
        for (int c = 0; c < 2; ++c)
            ASSERT_TRUE(std::equal(clapOut[c].begin(), clapOut[c].begin() + frames, vst2Out[c].begin()))
                << "block " << block << " channel " << c;
    }
    for (int32_t i = 0; i < kParameters; ++i) EXPECT_EQ(clap->parameter(i), vst2->parameter(i)) << i;
    clap->stop();
    vst2->stop();
}

// The documented format: "VLMS", version 1, count, then id and value pairs,
// all little-endian.
std::vector<uint8_t> state(uint32_t version, const std::vector<std::pair<uint32_t, float>>& entries) {
    std::vector<uint8_t> bytes = {'V', 'L', 'M', 'S'};
    const auto word = [&](uint32_t w) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
    };
    word(version);
    word(static_cast<uint32_t>(entries.size()));
    for (const auto& [id, value] : entries) {
        word(id);
        word(std::bit_cast<uint32_t>(value));
    }
    return bytes;
}

TEST_F(VelmoraClap, StateRoundTripsThroughShortStreamsAndHostileOnesChangeNothing) {
    // Closed after the plug-in, which may write to it until then.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> trace(std::tmpfile(), std::fclose);
    ASSERT_NE(trace, nullptr);
    const auto loaded = loadPlugin(velmoraClapPath(), trace.get());
    auto* clap = dynamic_cast<ClapPlugin*>(loaded.get());
    ASSERT_NE(clap, nullptr);
    std::vector<std::pair<uint32_t, float>> entries;
    // Switches are stepped: whole values only (PFilter off, the solos on).
    for (uint32_t id = 0; id < kParameters; ++id)
        entries.push_back({id, id == 2 ? 0.0f : (id >= 3 && id <= 5 ? 1.0f : static_cast<float>(id + 1) / 20.0f)});
    // A state from before Quality existed sounds as it did: Normal.
    ASSERT_TRUE(clap->loadState(state(1, {{kQuality, 3.0f}})));
    EXPECT_EQ(clap->parameterDisplay(kQuality), "8x");
    ASSERT_TRUE(clap->loadState(state(1, entries), 3));
    EXPECT_EQ(clap->parameterDisplay(kQuality), "Normal");
    entries.push_back({kQuality, 2.0f});
    entries.push_back({kMix, 0.5f});
    entries.push_back({kBypass, 0.0f});
    const std::vector<uint8_t> saved = state(1, entries);
    ASSERT_TRUE(clap->loadState(saved, 3));
    EXPECT_EQ(clap->saveState(5), saved);
    EXPECT_EQ(clap->parameterDisplay(2), "Off");
    EXPECT_FLOAT_EQ(clap->parameter(18), 0.95f);
    EXPECT_EQ(clap->parameterDisplay(kQuality), "4x");
    // The host is told to read the values again, once per load.
    const auto rescans = [&] {
        std::rewind(trace.get());
        int count = 0;
        for (char line[128]; std::fgets(line, sizeof line, trace.get()) != nullptr;)
            count += std::strcmp(line, "params_rescan 1\n") == 0 ? 1 : 0;
        return count;
    };
    EXPECT_EQ(rescans(), 3);

    // Not ours, or cut short: refused, and nothing changes.
    auto cut = saved, foreign = saved;
    cut.pop_back();
    foreign[0] = 'X';
    const std::vector<std::vector<uint8_t>> hostile = {
        {}, cut, foreign, state(2, entries), std::vector<uint8_t>(saved.begin(), saved.begin() + 12)};
    for (size_t k = 0; k < hostile.size(); ++k) {
        EXPECT_FALSE(clap->loadState(hostile[k], 7)) << "stream " << k;
        EXPECT_EQ(clap->saveState(), saved) << "stream " << k;
    }
    EXPECT_EQ(rescans(), 3);
}

TEST_F(VelmoraClap, ValueTextsAreInUnitsAndReadBackToTheSameText) {
    const auto clapLoaded = loadPlugin(velmoraClapPath());
    const auto* clap = dynamic_cast<ClapPlugin*>(clapLoaded.get());
    ASSERT_NE(clap, nullptr);
    const vclap::Plugin& plugin = clap->plugin();
    const auto* params = static_cast<const vclap::PluginParams*>(plugin.get_extension(&plugin, vclap::ext::kParams));
    ASSERT_NE(params, nullptr);
    ASSERT_EQ(params->count(&plugin), uint32_t(kParameters + 3));
    const auto textOf = [&](uint32_t id, double value) {
        char text[vclap::kNameSize] = {};
        EXPECT_TRUE(params->value_to_text(&plugin, id, value, text, sizeof text));
        return std::string(text);
    };
    const float values[] = {0.0f, 0.001f, 0.1f, 0.1667f, 0.25f, 0.3333f, 0.5f, 0.5001f, 0.7f, 0.85f, 0.99f, 1.0f};
    for (int32_t index = 0; index < kParameters; ++index) {
        vclap::ParamInfo info{};
        ASSERT_TRUE(params->get_info(&plugin, uint32_t(index), &info));
        EXPECT_EQ(info.id, uint32_t(index));
        const bool stepped = index >= 2 && index <= 5;
        EXPECT_EQ(info.flags, vclap::param::kIsAutomatable | (stepped ? vclap::param::kIsStepped : 0u)) << index;
        for (const float value : values) {
            const std::string text = textOf(info.id, value);
            double back = -1.0;
            ASSERT_TRUE(params->text_to_value(&plugin, info.id, text.c_str(), &back)) << text;
            EXPECT_TRUE(back >= 0.0 && back <= 1.0 && (!stepped || back == 0.0 || back == 1.0)) << back;
            EXPECT_EQ(textOf(info.id, back), text) << info.name << " read back as " << back;
        }
    }
    // The units musicians read, and what they type.
    const struct {
        uint32_t id;
        double value;
        const char* text;
    } shown[] = {{0, 0.5, "632 Hz"},    {1, 1.0, "20.00 kHz"}, {9, 0.0, "-20.0 dB"}, {15, 0.0, "-inf dB"},
                 {18, 1.0, "0.0 dB"},   {6, 0.25, "32 L"},     {6, 0.5, "C"},        {12, 0.5, "HardClip"},
                 {2, 1.0, "On"},        {3, 0.0, "Off"}};
    for (const auto& [id, value, text] : shown) EXPECT_EQ(textOf(id, value), text) << id;
    const struct {
        uint32_t id;
        const char* typed;
        const char* shows;
    } typed[] = {{0, "250 Hz", "250 Hz"}, {1, "3.5 kHz", "3.50 kHz"}, {9, "-6 dB", "-6.0 dB"},
                 {15, "-inf", "-inf dB"}, {13, "hardclip", "HardClip"}, {kQuality, "4x", "4x"},
                 {kMix, "35 %", "35 %"},  {kBypass, "On", "On"},        {7, "10 R", "10 R"}};
    for (const auto& [id, text, shows] : typed) {
        double back = -1.0;
        ASSERT_TRUE(params->text_to_value(&plugin, id, text, &back)) << text;
        EXPECT_EQ(textOf(id, back), shows) << text;
    }
    // Quality: a menu of four named settings, which also reads back.
    vclap::ParamInfo info{};
    ASSERT_TRUE(params->get_info(&plugin, kQuality, &info));
    EXPECT_EQ(info.id, uint32_t(kQuality));
    EXPECT_STREQ(info.name, "Quality");
    EXPECT_EQ(info.flags, vclap::param::kIsStepped | vclap::param::kIsEnum | vclap::param::kIsAutomatable);
    EXPECT_TRUE(info.min_value == 0.0 && info.max_value == 3.0 && info.default_value == 0.0);
    for (int setting = 0; setting <= 3; ++setting) {
        char text[vclap::kNameSize] = {};
        ASSERT_TRUE(params->value_to_text(&plugin, kQuality, setting, text, sizeof text));
        EXPECT_STREQ(text, kQualityTexts[setting]);
        double back = -1.0;
        ASSERT_TRUE(params->text_to_value(&plugin, kQuality, text, &back)) << text;
        EXPECT_EQ(back, setting);
    }
    double back = -1.0;
    EXPECT_FALSE(params->text_to_value(&plugin, kQuality, "16x", &back));
    // Mix in percent, and the one bypass parameter hosts link their button to.
    char mixText[vclap::kNameSize] = {};
    ASSERT_TRUE(params->value_to_text(&plugin, kMix, 0.35, mixText, sizeof mixText));
    EXPECT_STREQ(mixText, "35 %");
    ASSERT_TRUE(params->text_to_value(&plugin, kMix, mixText, &back));
    EXPECT_DOUBLE_EQ(back, 0.35);
    ASSERT_TRUE(params->get_info(&plugin, kBypass, &info));
    EXPECT_EQ(info.flags, vclap::param::kIsStepped | vclap::param::kIsBypass | vclap::param::kIsAutomatable);
    char small[4] = {'x', 'x', 'x', 'x'};
    ASSERT_TRUE(params->value_to_text(&plugin, 0, 0.5, small, sizeof small));
    EXPECT_STREQ(small, "632");
    EXPECT_FALSE(params->text_to_value(&plugin, 9, "loud", &back));
}

// Drive 1 into HardClip on every band leaves a pulse of 0.5 unclipped, so
// only the path's delay moves it.
void setTransparent(LoadedPlugin& plugin) {
    for (int32_t band = 0; band < 3; ++band) {
        plugin.setParameter(9 + band, 0.25f);
        plugin.setParameter(12 + band, 0.5f);
    }
}

// One instance switched from setting to setting while running: each change
// of latency asks for a restart, velmora-host restarts it after the block,
// and then the latency it reports is the delay of low frequencies.
TEST_F(VelmoraClap, QualityLatencyAfterEachRestartIsTheDelayOfLowFrequencies) {
    const auto loaded = loadPlugin(velmoraClapPath());
    auto* clap = dynamic_cast<ClapPlugin*>(loaded.get());
    ASSERT_NE(clap, nullptr);
    constexpr int32_t kBlock = 100;
    constexpr size_t kPulseAt = 1000;
    const std::vector<float> pulse = smoothPulse(2 * kPulseAt, kPulseAt, 256, 0.5f);
    std::vector<float> normal;
    clap->configure(48000.0, kBlock);
    setTransparent(*clap);
    clap->prepareAudio();
    clap->start();
    std::vector<float> in(kBlock), left(kBlock), right(kBlock);
    int restarts = 0;
    for (const int setting : {0, 3, 1, 2, 2, 0}) {
        SCOPED_TRACE(kQualityTexts[setting]);
        const int32_t before = clap->latency();
        clap->setParameter(kQuality, static_cast<float>(setting) / 3.0f);
        std::vector<float> out;
        for (size_t done = 0; done < pulse.size(); done += kBlock) {
            std::copy_n(pulse.begin() + done, kBlock, in.begin());
            clap->process(in.data(), in.data(), left.data(), right.data(), kBlock);
            // The first block still ran the setting before: the restart
            // follows it. The pulse comes later.
            out.insert(out.end(), left.begin(), left.end());
        }
        const int32_t reported = clap->latency();
        EXPECT_EQ(reported, DistortionProcessor::latencyFrames(static_cast<Oversampling>(setting)));
        EXPECT_EQ(clap->parameterDisplay(kQuality), kQualityTexts[setting]);
        restarts += reported != before ? 1 : 0;
        EXPECT_EQ(clap->host().restartRequests(), restarts);
        if (normal.empty()) normal = out;
        EXPECT_NEAR(lowFrequencyDelay(normal, out, 20), reported, 0.5);
        EXPECT_GT(*std::max_element(out.begin(), out.end()), 0.4f);
    }
    clap->stop();
}

// A host that offers no extension at all and gets things wrong: null
// pointers, an empty block, destroy while processing. Every call gets a
// neutral answer and nothing leaks (the sanitized build checks that).
TEST_F(VelmoraClap, ACarelessHostGetsNeutralAnswers) {
    void* library = dlopen(velmoraClapPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto* entry = static_cast<const vclap::PluginEntry*>(dlsym(library, "clap_entry"));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->init(velmoraClapPath().c_str()));
    ASSERT_TRUE(entry->init(velmoraClapPath().c_str()));
    entry->deinit();
    const auto* factory = static_cast<const vclap::PluginFactory*>(entry->get_factory(vclap::kPluginFactoryId));
    ASSERT_NE(factory, nullptr);
    const char* id = factory->get_plugin_descriptor(factory, 0)->id;
    EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);

    vclap::Host host{};
    host.clap_version = {0, 9, 0};
    host.get_extension = [](const vclap::Host*, const char*) -> const void* { return nullptr; };
    EXPECT_EQ(factory->create_plugin(factory, &host, id), nullptr);
    EXPECT_EQ(factory->create_plugin(factory, nullptr, id), nullptr);
    host.clap_version = vclap::kVersion;
    EXPECT_EQ(factory->create_plugin(factory, &host, "com.quorvane.other"), nullptr);
    const vclap::Plugin* plugin = factory->create_plugin(factory, &host, id);
    ASSERT_NE(plugin, nullptr);
    ASSERT_TRUE(plugin->init(plugin));
    EXPECT_EQ(plugin->get_extension(plugin, nullptr), nullptr);
    const auto* params = static_cast<const vclap::PluginParams*>(plugin->get_extension(plugin, vclap::ext::kParams));
    const auto* state = static_cast<const vclap::PluginState*>(plugin->get_extension(plugin, vclap::ext::kState));
    const auto* gui = static_cast<const vclap::PluginGui*>(plugin->get_extension(plugin, vclap::ext::kGui));
    ASSERT_TRUE(params != nullptr && state != nullptr && gui != nullptr);
    EXPECT_FALSE(params->get_value(plugin, 0, nullptr));
    EXPECT_FALSE(params->get_value(plugin, kParameters + 1, nullptr));
    EXPECT_FALSE(params->text_to_value(plugin, 0, nullptr, nullptr));
    EXPECT_FALSE(params->value_to_text(plugin, 0, 0.5, nullptr, 0));
    params->flush(plugin, nullptr, nullptr);
    EXPECT_FALSE(state->load(plugin, nullptr));
    // An X11 editor nobody would service is refused.
    EXPECT_FALSE(gui->create(plugin, vclap::window_api::kX11, false));

    ASSERT_TRUE(plugin->activate(plugin, 44100.0, 1, 64));
    ASSERT_TRUE(plugin->start_processing(plugin));
    vclap::Process empty{};
    EXPECT_EQ(plugin->process(plugin, &empty), vclap::status::kContinue);
    EXPECT_EQ(plugin->process(plugin, nullptr), vclap::status::kError);
    empty.frames_count = 16;
    EXPECT_EQ(plugin->process(plugin, &empty), vclap::status::kError);
    plugin->destroy(plugin);
    entry->deinit();
    entry->deinit();
    dlclose(library);
}

}  // namespace
