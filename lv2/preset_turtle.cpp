#include "lv2/preset_turtle.h"

#include <cstdio>
#include <sstream>

#include "core/extended_parameters.h"
#include "core/factory_presets.h"
#include "core/host_units.h"
#include "lv2/lv2_identity.h"
#include "lv2/turtle_description.h"

namespace {

// Type, appliesTo and label go into the manifest too: lilv finds a preset
// only when both the type and the plug-in it applies to are there.
void writeHead(std::ostringstream& out, size_t index) {
    const FactoryPreset& preset = kFactoryPresets[index];
    out << "\n<" << presetUri(index) << ">\n"
        << "    a pset:Preset ;\n"
        << "    lv2:appliesTo <" << lv2id::kPluginUri << "> ;\n"
        << "    rdfs:label \"" << preset.name << "\"";
}

// No label on the port nodes: lilv would take it as the preset's own.
void writePortValue(std::ostringstream& out, const char* symbol, float value) {
    out << "        [ lv2:symbol \"" << symbol << "\" ; pset:value " << turtleDecimal(value) << " ]";
}

}  // namespace

std::string presetUri(size_t index) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "#preset-%02zu", index + 1);
    return std::string(lv2id::kPluginUri) + suffix;
}

std::string presetManifestEntries() {
    std::ostringstream out;
    for (size_t i = 0; i < kFactoryPresets.size(); ++i) {
        writeHead(out, i);
        out << " ;\n    rdfs:seeAlso <" << lv2id::kPresetsFile << "> .\n";
    }
    return out.str();
}

// Only the 19 parameters and Mix, in their ports' units: Quality would move the latency and the
// bypass port would switch a bypassed effect back on.
std::string presetsTurtle() {
    std::ostringstream out;
    out << "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
        << "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
        << "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n";
    for (size_t i = 0; i < kFactoryPresets.size(); ++i) {
        const FactoryPreset& preset = kFactoryPresets[i];
        writeHead(out, i);
        out << " ;\n    rdfs:comment \"" << preset.description << "\" ;\n    lv2:port\n";
        for (int p = 0; p < kNumParameters; ++p) {
            writePortValue(out, kParameterTable[p].symbol,
                           unitFloat(static_cast<HostParameterId>(p), preset.values[static_cast<size_t>(p)]));
            out << " ,\n";
        }
        writePortValue(out, lv2id::kMixSymbol, unitFloat(kHostMixId, preset.mix));
        out << " .\n";
    }
    return out.str();
}
