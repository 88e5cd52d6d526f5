#include "lv2/turtle_description.h"

#include <charconv>
#include <sstream>

#include "dsp/distortion_processor.h"
#include "core/extended_parameters.h"
#include "core/quality_choice.h"
#include "dsp/oversampling.h"
#include "dsp/shaper_type.h"
#include "lv2/lv2_identity.h"
#include "lv2/preset_turtle.h"

namespace {

const char kPrefixes[] =
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf:  <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui:   <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "\n";

std::string uri(const char* text) { return std::string("<") + text + ">"; }

struct AudioPortInfo {
    const char* direction;
    const char* symbol;
    const char* name;
};

const AudioPortInfo kAudioPorts[lv2id::kFirstControl] = {
    {"lv2:InputPort", "in_l", "In L"},
    {"lv2:InputPort", "in_r", "In R"},
    {"lv2:OutputPort", "out_l", "Out L"},
    {"lv2:OutputPort", "out_r", "Out R"},
};

void writeAudioPort(std::ostringstream& out, uint32_t index) {
    const AudioPortInfo& port = kAudioPorts[index];
    out << "    [\n"
        << "        a lv2:AudioPort , " << port.direction << " ;\n"
        << "        lv2:index " << index << " ;\n"
        << "        lv2:symbol \"" << port.symbol << "\" ;\n"
        << "        lv2:name \"" << port.name << "\"\n"
        << "    ]";
}

// Each curve is offered at the lowest value that selects it, so a host that
// snaps to a scale point gets exactly that curve.
void writeCurveScalePoints(std::ostringstream& out) {
    out << " ;\n        lv2:portProperty lv2:enumeration ;\n        lv2:scalePoint ";
    constexpr int kCurves = 7;
    for (int curve = 0; curve < kCurves; ++curve) {
        const float lowest = curve == 0 ? kParameterMinimum : kShaperThresholds[curve - 1];
        if (curve > 0) out << " , ";
        out << "[ rdfs:label \"" << shaperTypeName(static_cast<ShaperType>(curve)) << "\" ; rdf:value "
            << turtleDecimal(lowest) << " ]";
    }
}

void writeControlPort(std::ostringstream& out, int parameter) {
    const ParameterInfo& info = kParameterTable[parameter];
    out << "    [\n"
        << "        a lv2:ControlPort , lv2:InputPort ;\n"
        << "        lv2:index " << lv2id::controlPort(parameter) << " ;\n"
        << "        lv2:symbol \"" << info.symbol << "\" ;\n"
        << "        lv2:name \"" << info.name << "\" ;\n"
        << "        lv2:default " << turtleDecimal(info.defaultValue) << " ;\n"
        << "        lv2:minimum " << turtleDecimal(kParameterMinimum) << " ;\n"
        << "        lv2:maximum " << turtleDecimal(kParameterMaximum);
    switch (info.kind) {
        case ParameterKind::Switch: out << " ;\n        lv2:portProperty lv2:toggled"; break;
        case ParameterKind::CurveChoice: writeCurveScalePoints(out); break;
        case ParameterKind::Continuous: break;
    }
    out << "\n    ]";
}

// Quality, which VST 2 does not offer: the rate the bands are shaped at,
// as a whole-number choice that hosts show as a menu.
void writeQualityPort(std::ostringstream& out) {
    out << "    [\n"
        << "        a lv2:ControlPort , lv2:InputPort ;\n"
        << "        lv2:index " << lv2id::kQuality << " ;\n"
        << "        lv2:symbol \"" << lv2id::kQualitySymbol << "\" ;\n"
        << "        lv2:name \"" << kQualityName << "\" ;\n"
        << "        lv2:default " << static_cast<int>(Oversampling::Normal) << " ;\n"
        << "        lv2:minimum " << static_cast<int>(Oversampling::Normal) << " ;\n"
        << "        lv2:maximum " << static_cast<int>(Oversampling::x8) << " ;\n"
        << "        lv2:portProperty lv2:integer , lv2:enumeration ;\n"
        << "        lv2:scalePoint ";
    for (int setting = 0; setting < kQualitySettings; ++setting)
        out << (setting > 0 ? " , " : "") << "[ rdfs:label \"" << kQualityLabels[setting] << "\" ; rdf:value " << setting
            << " ]";
    out << "\n    ]";
}

constexpr int longestLatency() {
    int longest = 0;
    for (int setting = 0; setting <= static_cast<int>(Oversampling::x8); ++setting) {
        const int frames = DistortionProcessor::latencyFrames(static_cast<Oversampling>(setting));
        longest = frames > longest ? frames : longest;
    }
    return longest;
}

// The delay the setting in use brings, which hosts compensate. Both ways of
// saying so are given: the designation and the older port property.
void writeLatencyPort(std::ostringstream& out) {
    out << "    [\n"
        << "        a lv2:ControlPort , lv2:OutputPort ;\n"
        << "        lv2:index " << lv2id::kLatency << " ;\n"
        << "        lv2:symbol \"" << lv2id::kLatencySymbol << "\" ;\n"
        << "        lv2:name \"Latency\" ;\n"
        << "        lv2:designation lv2:latency ;\n"
        << "        lv2:portProperty lv2:reportsLatency , lv2:integer ;\n"
        << "        lv2:minimum 0 ;\n"
        << "        lv2:maximum " << longestLatency() << " ;\n"
        << "        units:unit units:frame\n"
        << "    ]";
}

// Mix and the bypass switch hosts link to their own bypass button, so the
// plug-in keeps running (and its latency compensated) while bypassed.
void writeMixAndEnabledPorts(std::ostringstream& out) {
    out << "    [\n"
        << "        a lv2:ControlPort , lv2:InputPort ;\n"
        << "        lv2:index " << lv2id::kMix << " ;\n"
        << "        lv2:symbol \"" << lv2id::kMixSymbol << "\" ;\n"
        << "        lv2:name \"" << kMixName << "\" ;\n"
        << "        lv2:default " << turtleDecimal(kMixDefault) << " ;\n"
        << "        lv2:minimum 0.0 ;\n"
        << "        lv2:maximum 1.0\n"
        << "    ] ,\n"
        << "    [\n"
        << "        a lv2:ControlPort , lv2:InputPort ;\n"
        << "        lv2:index " << lv2id::kEnabled << " ;\n"
        << "        lv2:symbol \"" << lv2id::kEnabledSymbol << "\" ;\n"
        << "        lv2:name \"Enabled\" ;\n"
        << "        lv2:designation lv2:enabled ;\n"
        << "        lv2:default 1 ;\n"
        << "        lv2:minimum 0 ;\n"
        << "        lv2:maximum 1 ;\n"
        << "        lv2:portProperty lv2:toggled , lv2:integer\n"
        << "    ]";
}

}  // namespace

std::string turtleDecimal(float value) {
    char buffer[32];
    // Fixed notation: lilv reads an exponent as a double, which some hosts
    // do not apply to float ports.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    std::string text(buffer, result.ptr);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

std::string manifestTurtle(const TurtleOptions& options) {
    std::ostringstream out;
    out << kPrefixes;
    out << uri(lv2id::kPluginUri) << "\n"
        << "    a lv2:Plugin ;\n"
        << "    lv2:binary " << uri(lv2id::kPluginBinary) << " ;\n"
        << "    rdfs:seeAlso " << uri(lv2id::kPluginDescriptionFile) << " .\n";
    if (options.withUi) {
        out << "\n"
            << uri(lv2id::kUiUri) << "\n"
            << "    a ui:X11UI ;\n"
            << "    lv2:binary " << uri(lv2id::kUiBinary) << " ;\n"
            << "    rdfs:seeAlso " << uri(lv2id::kPluginDescriptionFile) << " .\n";
    }
    out << presetManifestEntries();
    return out.str();
}

std::string pluginTurtle(const TurtleOptions& options) {
    std::ostringstream out;
    out << kPrefixes;
    out << uri(lv2id::kPluginUri) << "\n"
        << "    a lv2:Plugin , lv2:DistortionPlugin ;\n"
        << "    doap:name \"Velmora\" ;\n"
        << "    doap:maintainer [ foaf:name \"Quorvane\" ] ;\n"
        << "    lv2:minorVersion " << lv2id::kMinorVersion << " ;\n"
        << "    lv2:microVersion " << lv2id::kMicroVersion << " ;\n"
        << "    lv2:optionalFeature lv2:hardRTCapable ;\n";
    if (options.withUi) out << "    ui:ui " << uri(lv2id::kUiUri) << " ;\n";
    out << "    lv2:port\n";
    for (uint32_t port = 0; port < lv2id::kFirstControl; ++port) {
        writeAudioPort(out, port);
        out << " ,\n";
    }
    for (int parameter = 0; parameter < kNumParameters; ++parameter) {
        writeControlPort(out, parameter);
        out << " ,\n";
    }
    writeQualityPort(out);
    out << " ,\n";
    writeLatencyPort(out);
    out << " ,\n";
    writeMixAndEnabledPorts(out);
    out << " .\n";
    if (options.withUi) {
        // The editor needs the host's window to live in and regular idle
        // calls to paint; drags are bracketed with touch when offered. It
        // takes the host's scale factor from the options (mapping the
        // option's URIs), tells a size of its own through ui:resize, and
        // chooses its size itself (noUserResize, not fixedSize: a scale step
        // changes it).
        out << "\n"
            << uri(lv2id::kUiUri) << "\n"
            << "    a ui:X11UI ;\n"
            << "    lv2:requiredFeature ui:idleInterface , ui:parent ;\n"
            << "    lv2:optionalFeature ui:touch , ui:resize , ui:noUserResize ,\n"
            << "        <http://lv2plug.in/ns/ext/options#options> , <http://lv2plug.in/ns/ext/urid#map> ;\n"
            << "    <http://lv2plug.in/ns/ext/options#supportedOption> ui:scaleFactor ;\n"
            << "    lv2:extensionData ui:idleInterface .\n";
    }
    return out.str();
}
