#include "lv2/turtle_description.h"

#include <charconv>
#include <sstream>

#include "dsp/distortion_processor.h"
#include "core/extended_parameters.h"
#include "core/host_units.h"
#include "core/quality_choice.h"
#include "dsp/oversampling.h"
#include "dsp/shaper_type.h"
#include "lv2/lv2_analyser_messages.h"
#include "lv2/lv2_identity.h"
#include "lv2/preset_turtle.h"

namespace {

const char kPrefixes[] =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix pg:   <http://lv2plug.in/ns/ext/port-groups#> .\n"
    "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf:  <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix rsz:  <http://lv2plug.in/ns/ext/resize-port#> .\n"
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

// The three bands' controls are grouped, so generic hosts show them
// together; the crossovers and Master belong to the whole effect.
constexpr const char* kBandGroups[3] = {"low", "mid", "high"};
constexpr const char* kBandLabels[3] = {"Low band", "Mid band", "High band"};

int bandOf(int parameter) {
    switch (parameter) {
        case kSolo1: case kBalance1: case kGain1: case kType1: case kLevel1: return 0;
        case kSolo2: case kBalance2: case kGain2: case kType2: case kLevel2: return 1;
        case kSolo3: case kBalance3: case kGain3: case kType3: case kLevel3: return 2;
        default: return -1;
    }
}

std::string groupUri(int band) { return uri((std::string(lv2id::kPluginUri) + "#" + kBandGroups[band]).c_str()); }

void writeBandGroups(std::ostringstream& out) {
    for (int band = 0; band < 3; ++band)
        out << "\n" << groupUri(band) << "\n    a pg:Group ;\n    lv2:symbol \"" << kBandGroups[band]
            << "\" ;\n    rdfs:label \"" << kBandLabels[band] << "\" .\n";
}

// Each curve by its number, which selects exactly that curve.
void writeCurveScalePoints(std::ostringstream& out) {
    out << " ;\n        lv2:portProperty lv2:integer , lv2:enumeration ;\n        lv2:scalePoint ";
    for (int curve = 0; curve <= static_cast<int>(ShaperType::Crackler); ++curve)
        out << (curve > 0 ? " , " : "") << "[ rdfs:label \"" << shaperTypeName(static_cast<ShaperType>(curve))
            << "\" ; rdf:value " << curve << " ]";
}

// What a port's unit adds: the unit, the scale, the named values.
void writeUnitProperties(std::ostringstream& out, const HostUnitScale& scale) {
    switch (scale.unit) {
        case HostUnit::Hertz: out << " ;\n        units:unit units:hz ;\n        lv2:portProperty pprops:logarithmic"; break;
        case HostUnit::Decibels: out << " ;\n        units:unit units:db"; break;
        case HostUnit::Level:
            out << " ;\n        units:unit units:db ;\n        lv2:scalePoint [ rdfs:label \"-inf dB\" ; rdf:value "
                << turtleDecimal(static_cast<float>(scale.minimum)) << " ]";
            break;
        case HostUnit::Balance:
            out << " ;\n        lv2:scalePoint [ rdfs:label \"64 L\" ; rdf:value -64.0 ] , [ rdfs:label \"C\" ; rdf:value 0.0 ] ,"
                   " [ rdfs:label \"64 R\" ; rdf:value 64.0 ]";
            break;
        case HostUnit::Curve: writeCurveScalePoints(out); break;
        case HostUnit::Toggle: out << " ;\n        lv2:portProperty lv2:toggled , lv2:integer"; break;
        case HostUnit::Percent: out << " ;\n        units:unit units:pc"; break;
        case HostUnit::Quality: break;
    }
}

void writeControlPort(std::ostringstream& out, int parameter) {
    const ParameterInfo& info = kParameterTable[parameter];
    const auto id = static_cast<HostParameterId>(parameter);
    const HostUnitScale& scale = hostUnitScale(id);
    out << "    [\n"
        << "        a lv2:ControlPort , lv2:InputPort ;\n"
        << "        lv2:index " << lv2id::controlPort(parameter) << " ;\n"
        << "        lv2:symbol \"" << info.symbol << "\" ;\n"
        << "        lv2:name \"" << scale.name << "\" ;\n"
        << "        lv2:default " << turtleDecimal(unitFloat(id, info.defaultValue)) << " ;\n"
        << "        lv2:minimum " << turtleDecimal(static_cast<float>(scale.minimum)) << " ;\n"
        << "        lv2:maximum " << turtleDecimal(static_cast<float>(scale.maximum));
    if (bandOf(parameter) >= 0) out << " ;\n        pg:group " << groupUri(bandOf(parameter));
    writeUnitProperties(out, scale);
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
        << "        lv2:default " << turtleDecimal(unitFloat(kHostMixId, kMixDefault)) << " ;\n"
        << "        lv2:minimum 0.0 ;\n"
        << "        lv2:maximum 100.0 ;\n"
        << "        units:unit units:pc\n"
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

// The analyser's atoms: the UI's requests in, the samples out while it asks
// (lv2_analyser_messages.h). Optional: a host without atom ports leaves them
// unconnected and the UI's analyser stands still.
void writeAnalyserPorts(std::ostringstream& out) {
    out << "    [\n"
        << "        a atom:AtomPort , lv2:InputPort ;\n"
        << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports atom:Object ;\n"
        << "        lv2:index " << lv2id::kAnalyserRequests << " ;\n"
        << "        lv2:symbol \"" << lv2id::kAnalyserRequestsSymbol << "\" ;\n"
        << "        lv2:name \"Analyser requests\" ;\n"
        << "        lv2:portProperty lv2:connectionOptional\n"
        << "    ] ,\n"
        << "    [\n"
        << "        a atom:AtomPort , lv2:OutputPort ;\n"
        << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports atom:Object ;\n"
        << "        lv2:index " << lv2id::kAnalyserSamples << " ;\n"
        << "        lv2:symbol \"" << lv2id::kAnalyserSamplesSymbol << "\" ;\n"
        << "        lv2:name \"Analyser samples\" ;\n"
        << "        rsz:minimumSize " << lv2analyser::kMinimumBufferSize << " ;\n"
        << "        lv2:portProperty lv2:connectionOptional\n"
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
        << "    lv2:optionalFeature lv2:hardRTCapable , <http://lv2plug.in/ns/ext/urid#map> ;\n";
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
    out << " ,\n";
    writeAnalyserPorts(out);
    out << " .\n";
    writeBandGroups(out);
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
            << "    ui:portNotification [ ui:plugin " << uri(lv2id::kPluginUri) << " ; lv2:symbol \""
            << lv2id::kAnalyserSamplesSymbol << "\" ; ui:protocol atom:eventTransfer ] ;\n"
            << "    lv2:extensionData ui:idleInterface .\n";
    }
    return out.str();
}
