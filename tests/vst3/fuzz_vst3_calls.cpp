// libFuzzer target: the fuzzer's bytes choose the calls a careless VST 3
// host makes on a fresh velmora.vst3 instance, in any order: setup with odd
// sizes and rates, activation and processing switched at random, blocks of
// any length (beyond the declared maximum too) with points at any offset,
// unknown ids and values that are NaN or out of range, garbage and cut
// states, unknown interface ids and view types. Nothing may crash or read
// out of bounds, and while the input is finite every output sample the
// plug-in wrote is finite.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "tests/vst3/vst3_test_host.h"
#include "vst3/vst3_class_id.h"

namespace {

constexpr int32_t kCapacity = 4096;

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data(data), size(size) {}
    bool empty() const { return used >= size; }
    uint32_t word() {
        uint32_t bits = 0;
        for (int i = 0; i < 4 && used < size; ++i) bits |= static_cast<uint32_t>(data[used++]) << (8 * i);
        return bits;
    }
    uint32_t below(uint32_t limit) { return word() % limit; }
    // Mostly in range, sometimes the values a careless host sends.
    double value() {
        switch (below(8)) {
            case 0: return std::numeric_limits<double>::quiet_NaN();
            case 1: return std::numeric_limits<double>::infinity();
            case 2: return -static_cast<double>(below(1000)) / 7.0;
            case 3: return 1.0 + static_cast<double>(below(1000));
            default: return static_cast<double>(below(1001)) / 1000.0;
        }
    }
    std::vector<uint8_t> state(const std::vector<uint8_t>& good) {
        std::vector<uint8_t> bytes = good;
        if (below(2) == 0) bytes.resize(below(static_cast<uint32_t>(good.size()) + 16));
        for (uint32_t n = below(6); n > 0 && !bytes.empty(); --n)
            bytes[below(static_cast<uint32_t>(bytes.size()))] = static_cast<uint8_t>(word());
        return bytes;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t used = 0;
};

vvst3::IPluginFactory& factory() {
    static LoadedVst3Module module(VELMORA_VST3_PLUGIN);
    if (module.factory == nullptr) {
        std::fprintf(stderr, "fuzz_vst3_calls: cannot load %s\n", VELMORA_VST3_PLUGIN);
        std::abort();
    }
    return *module.factory;
}

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_vst3_calls: %s\n", what);
    std::abort();
}

struct Buffers {
    float in[2][kCapacity];
    float out[2][kCapacity];
};

void processBlock(TestVst3Instance& plugin, Bytes& bytes, Buffers& buffers) {
    const auto frames = static_cast<int32_t>(bytes.below(kCapacity + 1));
    for (int c = 0; c < 2; ++c)
        for (int32_t i = 0; i < frames; ++i) {
            buffers.in[c][i] = static_cast<float>(bytes.below(2001)) / 1000.0f - 1.0f;
            buffers.out[c][i] = std::numeric_limits<float>::quiet_NaN();
        }
    TestChanges changes, produced;
    for (uint32_t n = bytes.below(5); n > 0; --n)
        changes.add(bytes.below(26), static_cast<int32_t>(bytes.below(kCapacity + 64)) - 32, bytes.value());
    const bool inPlace = bytes.below(2) == 0;
    float* in[2] = {buffers.in[0], buffers.in[1]};
    float* out[2] = {inPlace ? buffers.in[0] : buffers.out[0], inPlace ? buffers.in[1] : buffers.out[1]};
    if (plugin.process(in, out, frames, bytes.below(4) == 0 ? nullptr : &changes, &produced) != vvst3::kResultOk)
        return;
    for (int c = 0; c < 2; ++c)
        for (int32_t i = 0; i < frames; ++i) check(std::isfinite(out[c][i]), "an output sample is not finite");
}

void oneCall(TestVst3Instance& plugin, Bytes& bytes, Buffers& buffers, std::vector<uint8_t>& goodState) {
    vvst3::String128 text{};
    switch (bytes.below(12)) {
        case 0: {
            vvst3::ProcessSetup setup{static_cast<int32_t>(bytes.below(4)), static_cast<int32_t>(bytes.below(3)),
                                      static_cast<int32_t>(bytes.word() % 9000) - 100, bytes.value() * 96000.0};
            plugin.processor->setupProcessing(setup);
            break;
        }
        case 1: plugin.component->setActive(static_cast<vvst3::TBool>(bytes.below(2))); break;
        case 2: plugin.processor->setProcessing(static_cast<vvst3::TBool>(bytes.below(2))); break;
        case 3:
        case 4: processBlock(plugin, bytes, buffers); break;
        case 5: {
            MemoryStream stream(bytes.state(goodState), static_cast<int32_t>(bytes.below(40)) + 1);
            (bytes.below(2) == 0 ? plugin.component->setState(&stream) : plugin.controller->setComponentState(&stream));
            break;
        }
        case 6: {
            MemoryStream stream({}, static_cast<int32_t>(bytes.below(40)) + 1);
            if (plugin.component->getState(&stream) == vvst3::kResultOk) goodState = stream.bytes;
            break;
        }
        case 7: plugin.controller->setParamNormalized(bytes.below(26), bytes.value()); break;
        case 8: {
            const vvst3::ParamID id = bytes.below(26);
            plugin.controller->getParamStringByValue(id, bytes.value(), text);
            vvst3::ParamValue back = 0.0;
            plugin.controller->getParamValueByString(id, text, back);
            break;
        }
        case 9: {
            vvst3::SpeakerArrangement ins[2] = {bytes.word(), bytes.word()}, outs[2] = {bytes.word(), bytes.word()};
            plugin.processor->setBusArrangements(ins, static_cast<int32_t>(bytes.below(3)), outs,
                                                 static_cast<int32_t>(bytes.below(3)));
            break;
        }
        case 10: {
            uint8_t iid[16];
            for (uint8_t& byte : iid) byte = static_cast<uint8_t>(bytes.word());
            void* found = &buffers;
            const vvst3::tresult result = plugin.component->queryInterface(reinterpret_cast<const char*>(iid), &found);
            check(result == vvst3::kResultOk ? found != nullptr : found == nullptr, "queryInterface left a pointer");
            if (found != nullptr) static_cast<vvst3::FUnknown*>(found)->release();
            break;
        }
        default: {
            const char* names[] = {"editor", "Editor", "", "other"};
            vvst3::IPlugView* view = plugin.controller->createView(names[bytes.below(4)]);
            if (view == nullptr) break;
            const char* types[] = {"X11EmbedWindowID", "HWND", "NSView", "WaylandSurfaceID"};
            view->isPlatformTypeSupported(types[bytes.below(4)]);
            vvst3::ViewRect rect{};
            view->getSize(&rect);
            view->release();
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Buffers buffers;
    Bytes bytes(data, size);
    TestVst3Instance plugin(factory(), kVelmoraClassId);
    check(plugin.ready(), "no instance");
    std::vector<uint8_t> goodState;
    for (int calls = 0; calls < 64 && !bytes.empty(); ++calls) oneCall(plugin, bytes, buffers, goodState);
    return 0;
}
