// Renders a fixed list of cases through a plug-in and writes each one's
// output as raw interleaved 32-bit floats to OUTDIR/NAME.f32. The same program
// is built for every platform, so the outputs of the Linux and Windows
// builds of the plug-in can be compared sample by sample. The input is made
// with integer arithmetic and plain float operations only, so it is the same
// bits on every platform.
//
// Usage: parity_render PLUGIN OUTDIR
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/errors.h"
#include "host/plugin_instance.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kFrames = 22050;

// Index of each parameter, in the plug-in's published order.
enum Param : int32_t {
    Cross1, Cross2, PFilter, Solo1, Solo2, Solo3, Balance1, Balance2, Balance3,
    Gain1, Gain2, Gain3, Type1, Type2, Type3, Level1, Level2, Level3, Master
};

// A bass-heavy saw, a square an octave and a fifth up, and noise: energy in
// all three bands, different on the two channels.
std::vector<float> makeInput() {
    std::vector<float> samples(2 * kFrames);
    uint32_t noise = 0x1234567u;
    uint32_t sawPhase = 0, squarePhase = 0;
    for (int i = 0; i < kFrames; ++i) {
        sawPhase += 4294967u * 110u / 44u;       // about 110 Hz
        squarePhase += 4294967u * 330u / 44u;    // about 330 Hz
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        const float saw = static_cast<float>(static_cast<int32_t>(sawPhase) / 65536) / 32768.0f;
        const float square = (squarePhase & 0x80000000u) != 0 ? 0.25f : -0.25f;
        const float hiss = static_cast<float>(static_cast<int32_t>(noise) / 65536) / 327680.0f;
        samples[2 * i] = 0.5f * saw + square + hiss;
        samples[2 * i + 1] = 0.4f * saw - 0.5f * square + 2.0f * hiss;
    }
    return samples;
}

struct Case {
    explicit Case(std::string n, int32_t b = 512) : name(std::move(n)), block(b) {}
    std::string name;
    int32_t block;
    std::vector<std::pair<int32_t, float>> settings;
    // Called before every block with the frame it starts at.
    std::function<void(PluginInstance&, int)> beforeBlock;
    bool accumulating = false;
};

std::vector<Case> makeCases() {
    std::vector<Case> cases;
    const std::vector<std::pair<int32_t, float>> driven = {
        {Gain1, 0.45f}, {Gain2, 0.55f}, {Gain3, 0.6f}, {Type1, 0.2f}, {Type2, 0.55f}, {Type3, 0.7f},
        {Cross1, 0.35f}, {Cross2, 0.62f}, {Balance1, 0.3f}, {Balance3, 0.8f}};

    // Every routing: the eight solo combinations, with and without post filters.
    for (int solo = 0; solo < 8; ++solo) {
        for (int filter = 0; filter < 2; ++filter) {
            char name[32];
            std::snprintf(name, sizeof name, "routing_solo%d_pfilter%d", solo, filter);
            Case c(name);
            c.settings = driven;
            c.settings.push_back({Solo1, (solo & 1) ? 1.0f : 0.0f});
            c.settings.push_back({Solo2, (solo & 2) ? 1.0f : 0.0f});
            c.settings.push_back({Solo3, (solo & 4) ? 1.0f : 0.0f});
            c.settings.push_back({PFilter, static_cast<float>(filter)});
            cases.push_back(c);
        }
    }
    // Every curve but the one with random factors, on all bands, at the
    // threshold values and inside each range.
    const float types[] = {0.0f, 0.1f, 0.1666f, 0.3f, 0.3333f, 0.45f, 0.5f, 0.6f, 0.6666f, 0.75f, 0.8333f, 0.95f, 0.9998f};
    for (size_t t = 0; t < std::size(types); ++t) {
        Case c("curve_" + std::to_string(t));
        c.settings = {{Gain1, 0.7f}, {Gain2, 0.65f}, {Gain3, 0.8f}, {Type1, types[t]}, {Type2, types[t]}, {Type3, types[t]}};
        cases.push_back(c);
    }
    // Ramps: parameters moving between blocks, in both directions and with
    // routing changes mid-way.
    for (int32_t block : {64, 100}) {
        Case c("ramps_block" + std::to_string(block), block);
        c.settings = driven;
        c.beforeBlock = [](PluginInstance& p, int frame) {
            const float x = static_cast<float>(frame) / static_cast<float>(kFrames);
            p.setParameter(Gain1, x);
            p.setParameter(Gain2, 1.0f - x);
            p.setParameter(Cross1, 0.2f + 0.5f * x);
            p.setParameter(Cross2, 0.9f - 0.3f * x);
            p.setParameter(Level2, 1.0f - x);
            p.setParameter(Balance2, x);
            p.setParameter(Master, 0.5f + 0.5f * x);
            p.setParameter(Type3, 0.9f * x);
            p.setParameter(Solo2, frame > kFrames / 2 ? 1.0f : 0.0f);
            p.setParameter(PFilter, frame > kFrames / 3 ? 0.0f : 1.0f);
        };
        cases.push_back(c);
    }
    // Program changes mid-way: program 3 holds other values than program 0.
    {
        Case c("programs", 128);
        c.beforeBlock = [](PluginInstance& p, int frame) {
            if (frame == 0) {
                p.selectProgram(3);
                p.setParameter(Gain1, 0.8f);
                p.setParameter(Type1, 0.4f);
                p.setParameter(Solo3, 1.0f);
                p.setParameter(Master, 0.6f);
                p.selectProgram(0);
                p.setParameter(Gain2, 0.5f);
            }
            const int block = frame / 128;
            if (block % 20 == 10) p.selectProgram(3);
            if (block % 20 == 0 && block > 0) p.selectProgram(0);
        };
        cases.push_back(c);
    }
    // Block sizes from 1 to 512, including sizes around the 64-frame sub-block.
    for (int32_t block : {1, 2, 7, 63, 64, 65, 127, 333, 512}) {
        Case c("block_" + std::to_string(block), block);
        c.settings = driven;
        c.beforeBlock = [](PluginInstance& p, int frame) { p.setParameter(Gain3, static_cast<float>(frame % 4410) / 4410.0f); };
        cases.push_back(c);
    }
    // The accumulating callback adds to what the output buffers hold.
    {
        Case c("accumulating", 256);
        c.settings = driven;
        c.accumulating = true;
        cases.push_back(c);
    }
    return cases;
}

std::vector<float> render(const std::string& pluginPath, const Case& c, const std::vector<float>& input) {
    PluginInstance plugin(pluginPath);
    plugin.configure(kRate, c.block);
    for (const auto& [index, value] : c.settings) plugin.setParameter(index, value);
    plugin.resume();
    AEffect& effect = plugin.effect();
    std::vector<float> inL(static_cast<size_t>(c.block)), inR(inL.size()), outL(inL.size()), outR(inL.size());
    std::vector<float> output(input.size());
    for (int frame = 0; frame < kFrames; frame += c.block) {
        const int count = std::min(c.block, kFrames - frame);
        if (c.beforeBlock) c.beforeBlock(plugin, frame);
        for (int i = 0; i < count; ++i) {
            inL[static_cast<size_t>(i)] = input[static_cast<size_t>(2 * (frame + i))];
            inR[static_cast<size_t>(i)] = input[static_cast<size_t>(2 * (frame + i) + 1)];
            // The accumulating callback starts from a known, non-zero bed.
            outL[static_cast<size_t>(i)] = c.accumulating ? 0.125f : 0.0f;
            outR[static_cast<size_t>(i)] = c.accumulating ? -0.125f : 0.0f;
        }
        float* inputs[2] = {inL.data(), inR.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        if (c.accumulating) {
            if (effect.process == nullptr) throw HostError("The plug-in has no accumulating process callback.");
            effect.process(&effect, inputs, outputs, count);
        } else {
            effect.processReplacing(&effect, inputs, outputs, count);
        }
        for (int i = 0; i < count; ++i) {
            output[static_cast<size_t>(2 * (frame + i))] = outL[static_cast<size_t>(i)];
            output[static_cast<size_t>(2 * (frame + i) + 1)] = outR[static_cast<size_t>(i)];
        }
    }
    plugin.suspend();
    return output;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: parity_render PLUGIN OUTDIR\n");
        return 2;
    }
    try {
        const std::vector<float> input = makeInput();
        for (const Case& c : makeCases()) {
            const std::vector<float> output = render(argv[1], c, input);
            const std::string path = std::string(argv[2]) + "/" + c.name + ".f32";
            std::FILE* file = std::fopen(path.c_str(), "wb");
            if (file == nullptr) throw HostError("Cannot write " + path + ".");
            const size_t written = std::fwrite(output.data(), sizeof(float), output.size(), file);
            std::fclose(file);
            if (written != output.size()) throw HostError("Writing " + path + " failed.");
            std::printf("%s\n", c.name.c_str());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
