#include "lilv_test_host.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/presets/presets.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

const char kUri[] = "urn:quorvane:velmora";
const char* const kSymbols[19] = {"cross1",   "cross2", "pfilter", "solo1",  "solo2",  "solo3",  "balance1",
                                  "balance2", "balance3", "gain1",  "gain2",  "gain3",  "type1",  "type2",
                                  "type3",    "level1", "level2",  "level3", "master"};

}  // namespace

int parameterIndex(const std::string& symbol) {
    for (int i = 0; i < 19; ++i)
        if (symbol == kSymbols[i]) return i;
    throw std::invalid_argument("no parameter " + symbol);
}

LilvTestHost::LilvTestHost(double sampleRate, LV2_URID_Map* map) {
    world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, (std::string(VELMORA_LV2_BUNDLE) + "/").c_str());
    lilv_world_load_bundle(world, bundle);
    lilv_node_free(bundle);

    LilvNode* uri = lilv_new_uri(world, kUri);
    plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    lilv_node_free(uri);
    if (!plugin) throw std::runtime_error("the bundle does not describe the plug-in");

    const uint32_t ports = lilv_plugin_get_num_ports(plugin);
    controls.assign(ports, 0.0f);
    symbols.resize(ports);
    std::vector<float> defaults(ports);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
    for (uint32_t i = 0; i < ports; ++i) {
        symbols[i] = lilv_node_as_string(lilv_port_get_symbol(plugin, lilv_plugin_get_port_by_index(plugin, i)));
        controls[i] = defaults[i];
    }

    const LV2_Feature mapFeature{LV2_URID__map, map};
    const LV2_Feature* features[] = {map ? &mapFeature : nullptr, nullptr};
    instance = lilv_plugin_instantiate(plugin, sampleRate, features);
    if (!instance) throw std::runtime_error("instantiation failed");
    LilvNode* atomClass = lilv_new_uri(world, LV2_ATOM__AtomPort);
    LilvNode* outputClass = lilv_new_uri(world, LV2_CORE__OutputPort);
    if (map) sequenceType = map->map(map->handle, LV2_ATOM__Sequence);
    for (uint32_t i = 4; i < ports; ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
        if (!lilv_port_is_a(plugin, port, atomClass)) {
            lilv_instance_connect_port(instance, i, &controls[i]);
        } else if (map) {
            atomPorts.push_back({i, lilv_port_is_a(plugin, port, outputClass), std::vector<uint64_t>(65536 / 8), {}});
            lilv_instance_connect_port(instance, i, atomPorts.back().buffer.data());
        }
    }
    lilv_node_free(atomClass);
    lilv_node_free(outputClass);
    activate();
}

LilvTestHost::~LilvTestHost() {
    if (instance) {
        lilv_instance_deactivate(instance);
        lilv_instance_free(instance);
    }
    lilv_world_free(world);
}

size_t LilvTestHost::portIndex(const std::string& symbol) const {
    const auto found = std::find(symbols.begin(), symbols.end(), symbol);
    if (found == symbols.end()) throw std::invalid_argument("no port " + symbol);
    return static_cast<size_t>(found - symbols.begin());
}

void LilvTestHost::setPort(const std::string& symbol, float value) { controls[portIndex(symbol)] = value; }

float LilvTestHost::get(const std::string& symbol) const { return controls[portIndex(symbol)]; }

void LilvTestHost::set(const ParameterSet& values) {
    for (const auto& [symbol, value] : values) set(symbol, value);
}

namespace {

// Enough of a URID map for lilv to restore a state: one number per URI.
struct TestUridMap {
    std::vector<std::string> uris;
    LV2_URID_Map feature{this, [](LV2_URID_Map_Handle handle, const char* uri) -> LV2_URID {
                             auto& known = static_cast<TestUridMap*>(handle)->uris;
                             const auto found = std::find(known.begin(), known.end(), uri);
                             if (found != known.end()) return static_cast<LV2_URID>(found - known.begin() + 1);
                             known.emplace_back(uri);
                             return static_cast<LV2_URID>(known.size());
                         }};
};

}  // namespace

void LilvTestHost::applyPreset(const std::string& label) {
    LilvNode* presetClass = lilv_new_uri(world, LV2_PRESETS__Preset);
    LilvNodes* presets = lilv_plugin_get_related(plugin, presetClass);
    lilv_node_free(presetClass);
    TestUridMap urids;
    LilvState* found = nullptr;
    LILV_FOREACH (nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(world, preset);
        LilvState* state = lilv_state_new_from_world(world, &urids.feature, preset);
        if (state != nullptr && label == lilv_state_get_label(state) && found == nullptr) found = state;
        else lilv_state_free(state);
    }
    lilv_nodes_free(presets);
    if (found == nullptr) throw std::invalid_argument("no preset " + label);
    const auto write = [](const char* symbol, void* host, const void* value, uint32_t size, uint32_t) {
        float number = 0.0f;
        if (size == sizeof number) std::memcpy(&number, value, sizeof number);
        static_cast<LilvTestHost*>(host)->setPort(symbol, number);
    };
    lilv_state_restore(found, nullptr, write, this, 0, nullptr);
    lilv_state_free(found);
}

void LilvTestHost::activate() { lilv_instance_activate(instance); }
void LilvTestHost::deactivate() { lilv_instance_deactivate(instance); }

void LilvTestHost::run(const float* inLeft, const float* inRight, float* outLeft, float* outRight, uint32_t frames,
                       bool inPlace) {
    if (inPlace) {
        std::copy_n(inLeft, frames, outLeft);
        std::copy_n(inRight, frames, outRight);
        inLeft = outLeft;
        inRight = outRight;
    }
    lilv_instance_connect_port(instance, 0, const_cast<float*>(inLeft));
    lilv_instance_connect_port(instance, 1, const_cast<float*>(inRight));
    lilv_instance_connect_port(instance, 2, outLeft);
    lilv_instance_connect_port(instance, 3, outRight);
    fillAtomPorts();
    lilv_instance_run(instance, frames);
}

StereoFile LilvTestHost::render(const StereoFile& input, uint32_t blockFrames, bool inPlace) {
    StereoFile output;
    output.sampleRate = input.sampleRate;
    output.left.resize(input.left.size());
    output.right.resize(input.right.size());
    for (size_t start = 0; start < input.left.size(); start += blockFrames) {
        const auto frames = static_cast<uint32_t>(std::min<size_t>(blockFrames, input.left.size() - start));
        run(&input.left[start], &input.right[start], &output.left[start], &output.right[start], frames, inPlace);
    }
    return output;
}

const LilvTestHost::AtomPort& LilvTestHost::atomPort(const std::string& symbol) const {
    const size_t index = portIndex(symbol);
    for (const AtomPort& port : atomPorts)
        if (port.index == index) return port;
    throw std::invalid_argument("no connected atom port " + symbol);
}

void LilvTestHost::sendAtom(const std::string& symbol, const void* atom, uint32_t size) {
    auto& port = const_cast<AtomPort&>(atomPort(symbol));
    const auto* bytes = static_cast<const uint8_t*>(atom);
    port.waiting.emplace_back(bytes, bytes + size);
}

// Inputs: an empty sequence with what waits, at frame 0. Outputs: the whole
// buffer offered, as hosts do before each run.
void LilvTestHost::fillAtomPorts() {
    for (AtomPort& port : atomPorts) {
        auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(port.buffer.data());
        const auto capacity = static_cast<uint32_t>(port.buffer.size() * 8);
        if (port.output) {
            sequence->atom = {capacity - static_cast<uint32_t>(sizeof(LV2_Atom)), 0};
            continue;
        }
        sequence->atom = {sizeof(LV2_Atom_Sequence_Body), sequenceType};
        sequence->body = {0, 0};
        for (const auto& atom : port.waiting) {
            auto* event = reinterpret_cast<LV2_Atom_Event*>(reinterpret_cast<uint8_t*>(sequence) + sizeof(LV2_Atom) +
                                                            lv2_atom_pad_size(sequence->atom.size));
            event->time.frames = 0;
            std::memcpy(&event->body, atom.data(), atom.size());
            sequence->atom.size += static_cast<uint32_t>(sizeof(LV2_Atom_Event) - sizeof(LV2_Atom)) +
                                   lv2_atom_pad_size(static_cast<uint32_t>(atom.size()));
        }
        port.waiting.clear();
    }
}

std::vector<std::vector<uint8_t>> LilvTestHost::atomsOut(const std::string& symbol) const {
    const AtomPort& port = atomPort(symbol);
    const auto* sequence = reinterpret_cast<const LV2_Atom_Sequence*>(port.buffer.data());
    std::vector<std::vector<uint8_t>> atoms;
    if (sequence->atom.type != sequenceType) return atoms;
    LV2_ATOM_SEQUENCE_FOREACH(sequence, event) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(&event->body);
        atoms.emplace_back(bytes, bytes + sizeof(LV2_Atom) + event->body.size);
    }
    return atoms;
}
