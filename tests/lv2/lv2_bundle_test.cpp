// The generated bundle as third-party LV2 tools see it: the Turtle parses,
// lv2info lists the ports we mean (the latency port as the plug-in's), and
// lv2bench can run the plug-in.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <lilv/lilv.h>

#include <cstdlib>

#include "lv2_test_support.h"

namespace {

const std::string kUri = "urn:quorvane:velmora";
const std::string kLv2 = "http://lv2plug.in/ns/lv2core#";

struct ListedPort {
    std::set<std::string> types;
    std::set<std::string> properties;
    std::map<std::string, std::string> fields;          // Symbol, Name, Minimum, ...
    std::map<std::string, std::string> scalePoints;     // label -> value text
};

// lv2info prints one block per port: "\tPort N:" followed by "\t\tKey: value"
// lines, type continuation lines, and scale points as "value = "label"".
std::map<int, ListedPort> parsePorts(const std::string& listing) {
    std::map<int, ListedPort> ports;
    std::istringstream lines(listing);
    std::string line;
    ListedPort* port = nullptr;
    std::string lastKey;
    while (std::getline(lines, line)) {
        if (line.rfind("\tPort ", 0) == 0) {
            port = &ports[std::stoi(line.substr(6))];
            lastKey.clear();
            continue;
        }
        if (!port || line.rfind("\t\t", 0) != 0) continue;
        if (line.rfind("\t\t\t", 0) == 0) {
            const auto equals = line.find(" = \"");
            if (equals != std::string::npos)
                port->scalePoints[line.substr(equals + 4, line.size() - equals - 5)] = line.substr(3, equals - 3);
            continue;
        }
        const bool continuation = line.size() > 2 && line[2] == ' ';
        const auto colon = continuation ? std::string::npos : line.find(':');
        std::string key = continuation ? lastKey : line.substr(2, colon == std::string::npos ? 0 : colon - 2);
        const auto valueStart = line.find_first_not_of(' ', continuation ? 2 : colon + 1);
        std::string value = valueStart == std::string::npos ? "" : line.substr(valueStart);
        lastKey = key;
        if (key == "Type")
            port->types.insert(value);
        else if (key == "Properties")
            port->properties.insert(value);
        else
            port->fields[key] = value;
    }
    return ports;
}

CommandResult lv2info() { return runCommand(lv2ToolEnvironment() + "lv2info " + kUri); }

// Each control in the unit musicians read: Hz on a logarithmic scale, dB,
// the balance steps the editor shows, curves by number, switches toggled.
struct ExpectedControl {
    const char* symbol;
    const char* name;
    const char* defaultText;
    const char* minimum;
    const char* maximum;
    std::set<std::string> properties;
    const char* unit;   // units: name, or empty
};

const std::set<std::string> kToggle = {kLv2 + "toggled", kLv2 + "integer"};
const std::set<std::string> kChoice = {kLv2 + "integer", kLv2 + "enumeration"};
const std::set<std::string> kLog = {"http://lv2plug.in/ns/ext/port-props#logarithmic"};

const ExpectedControl kControls[19] = {
    {"cross1", "Low/mid crossover", "632.455505", "20.000000", "20000.000000", kLog, "hz"},
    {"cross2", "Mid/high crossover", "632.455505", "20.000000", "20000.000000", kLog, "hz"},
    {"pfilter", "Post filter", "1.000000", "0.000000", "1.000000", kToggle, ""},
    {"solo1", "Low solo", "0.000000", "0.000000", "1.000000", kToggle, ""},
    {"solo2", "Mid solo", "0.000000", "0.000000", "1.000000", kToggle, ""},
    {"solo3", "High solo", "0.000000", "0.000000", "1.000000", kToggle, ""},
    {"balance1", "Low balance", "0.000000", "-64.000000", "64.000000", {}, ""},
    {"balance2", "Mid balance", "0.000000", "-64.000000", "64.000000", {}, ""},
    {"balance3", "High balance", "0.000000", "-64.000000", "64.000000", {}, ""},
    {"gain1", "Low drive", "-20.000000", "-20.000000", "60.000000", {}, "db"},
    {"gain2", "Mid drive", "-20.000000", "-20.000000", "60.000000", {}, "db"},
    {"gain3", "High drive", "-20.000000", "-20.000000", "60.000000", {}, "db"},
    {"type1", "Low curve", "0.000000", "0.000000", "6.000000", kChoice, ""},
    {"type2", "Mid curve", "0.000000", "0.000000", "6.000000", kChoice, ""},
    {"type3", "High curve", "0.000000", "0.000000", "6.000000", kChoice, ""},
    {"level1", "Low level", "0.000000", "-90.000000", "0.000000", {}, "db"},
    {"level2", "Mid level", "0.000000", "-90.000000", "0.000000", {}, "db"},
    {"level3", "High level", "0.000000", "-90.000000", "0.000000", {}, "db"},
    {"master", "Master", "0.000000", "-90.000000", "0.000000", {}, "db"},
};

// The unit lilv reads for each port, by symbol ("" for none).
std::map<std::string, std::string> unitsAsLilvReadsThem() {
    setenv("LV2_PATH", VELMORA_LV2_SEARCH_PATH, 1);
    LilvWorld* world = lilv_world_new();
    lilv_world_load_all(world);
    LilvNode* uri = lilv_new_uri(world, kUri.c_str());
    LilvNode* unitKey = lilv_new_uri(world, "http://lv2plug.in/ns/extensions/units#unit");
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    std::map<std::string, std::string> units;
    for (uint32_t i = 0; plugin != nullptr && i < lilv_plugin_get_num_ports(plugin); ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
        LilvNodes* found = lilv_port_get_value(plugin, port, unitKey);
        const std::string symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
        units[symbol] = found != nullptr && lilv_nodes_size(found) > 0
                            ? lilv_node_as_uri(lilv_nodes_get_first(found))
                            : "";
        lilv_nodes_free(found);
    }
    lilv_node_free(unitKey);
    lilv_node_free(uri);
    lilv_world_free(world);
    return units;
}

}  // namespace

TEST(Lv2Bundle, TurtleFilesParseWithSerdi) {
    for (const char* file : {"manifest.ttl", "velmora.ttl", "presets.ttl"}) {
        const std::string path = std::string(VELMORA_LV2_BUNDLE) + "/" + file;
        const CommandResult parsed = runCommand("serdi -i turtle -o ntriples " + quoted(path));
        EXPECT_EQ(parsed.exitCode, 0) << file << ": " << parsed.output;
        EXPECT_EQ(parsed.output.find("error"), std::string::npos) << parsed.output;
        EXPECT_NE(parsed.output.find("<" + kUri + ">"), std::string::npos) << file;
    }
}

TEST(Lv2Bundle, Lv2infoShowsIdentityAndRealTimeCapability) {
    const CommandResult listed = lv2info();
    ASSERT_EQ(listed.exitCode, 0) << listed.output;
    EXPECT_NE(listed.output.find("\tName:              Velmora\n"), std::string::npos) << listed.output;
    EXPECT_NE(listed.output.find("\tClass:             Distortion Plugin\n"), std::string::npos);
    EXPECT_NE(listed.output.find("velmora.lv2/velmora.so\n"), std::string::npos);
    // Real-time capable; the URID map only lets the analyser's atoms travel.
    EXPECT_NE(listed.output.find("Optional Features: http://lv2plug.in/ns/ext/urid#map\n"
                                 "\t                   " + kLv2 + "hardRTCapable"),
              std::string::npos);
    EXPECT_EQ(listed.output.find("Required Features"), std::string::npos);
    EXPECT_EQ(listed.output.find("InPlaceBroken"), std::string::npos);
}

TEST(Lv2Bundle, Lv2infoListsAudioThenNineteenControlsThenQualityLatencyMixEnabledAndTheAnalysersAtoms) {
    const CommandResult listed = lv2info();
    ASSERT_EQ(listed.exitCode, 0) << listed.output;
    const std::map<int, ListedPort> ports = parsePorts(listed.output);
    ASSERT_EQ(ports.size(), 29u);
    const std::string kAtomPort = "http://lv2plug.in/ns/ext/atom#AtomPort";
    EXPECT_EQ(ports.at(27).types, (std::set<std::string>{kAtomPort, kLv2 + "InputPort"}));
    EXPECT_EQ(ports.at(28).types, (std::set<std::string>{kAtomPort, kLv2 + "OutputPort"}));
    for (int atomPort : {27, 28})
        EXPECT_EQ(ports.at(atomPort).properties, (std::set<std::string>{kLv2 + "connectionOptional"}));

    const char* audioSymbols[4] = {"in_l", "in_r", "out_l", "out_r"};
    for (int i = 0; i < 4; ++i) {
        const ListedPort& port = ports.at(i);
        EXPECT_EQ(port.fields.at("Symbol"), audioSymbols[i]);
        EXPECT_TRUE(port.types.count(kLv2 + "AudioPort")) << i;
        EXPECT_TRUE(port.types.count(kLv2 + (i < 2 ? "InputPort" : "OutputPort"))) << i;
    }

    const std::map<std::string, std::string> units = unitsAsLilvReadsThem();
    const std::string kUnits = "http://lv2plug.in/ns/extensions/units#";
    for (int p = 0; p < 19; ++p) {
        const ExpectedControl& expected = kControls[p];
        const ListedPort& port = ports.at(4 + p);
        SCOPED_TRACE(expected.symbol);
        EXPECT_TRUE(port.types.count(kLv2 + "ControlPort"));
        EXPECT_TRUE(port.types.count(kLv2 + "InputPort"));
        EXPECT_EQ(port.fields.at("Symbol"), expected.symbol);
        EXPECT_EQ(port.fields.at("Name"), expected.name);
        EXPECT_EQ(port.fields.at("Minimum"), expected.minimum);
        EXPECT_EQ(port.fields.at("Maximum"), expected.maximum);
        EXPECT_EQ(port.fields.at("Default"), expected.defaultText);
        EXPECT_EQ(port.properties, expected.properties);
        EXPECT_EQ(units.at(expected.symbol), *expected.unit ? kUnits + expected.unit : "");
        // The bands' controls in their groups; crossovers and Master in none.
        const std::string group = port.fields.count("Group") ? port.fields.at("Group") : "";
        const char* band = p < 3 || p == 18 ? "" : (p - 3) % 3 == 0 ? "low" : (p - 3) % 3 == 1 ? "mid" : "high";
        EXPECT_EQ(group, *band ? kUri + "#" + band : "");
    }
    // A level's lowest value is silence, and says so.
    EXPECT_EQ(ports.at(19).scalePoints, (std::map<std::string, std::string>{{"-inf dB", "-90.0"}}));
    EXPECT_EQ(ports.at(16).scalePoints.at("HardClip"), "3");

    const ListedPort& quality = ports.at(23);
    EXPECT_EQ(quality.types, (std::set<std::string>{kLv2 + "ControlPort", kLv2 + "InputPort"}));
    EXPECT_EQ(quality.fields.at("Symbol"), "quality");
    EXPECT_EQ(quality.fields.at("Minimum"), "0.000000");
    EXPECT_EQ(quality.fields.at("Maximum"), "3.000000");
    EXPECT_EQ(quality.fields.at("Default"), "0.000000");
    EXPECT_EQ(quality.properties, (std::set<std::string>{kLv2 + "integer", kLv2 + "enumeration"}));
    EXPECT_EQ(quality.scalePoints,
              (std::map<std::string, std::string>{{"Normal", "0"}, {"2x", "1"}, {"4x", "2"}, {"8x", "3"}}));

    const ListedPort& latency = ports.at(24);
    EXPECT_EQ(latency.types, (std::set<std::string>{kLv2 + "ControlPort", kLv2 + "OutputPort"}));
    EXPECT_EQ(latency.fields.at("Symbol"), "latency");
    EXPECT_EQ(latency.fields.at("Designation"), kLv2 + "latency");
    EXPECT_EQ(latency.properties, (std::set<std::string>{kLv2 + "integer", kLv2 + "reportsLatency"}));
    EXPECT_NE(listed.output.find("\tHas latency:       yes, reported by port 24\n"), std::string::npos);

    EXPECT_EQ(ports.at(25).fields.at("Symbol"), "mix");
    EXPECT_EQ(ports.at(25).fields.at("Default"), "100.000000");
    EXPECT_EQ(units.at("mix"), kUnits + "pc");
    // The port hosts link their bypass button to, so bypass keeps the plug-in running.
    const ListedPort& enabled = ports.at(26);
    EXPECT_EQ(enabled.fields.at("Symbol"), "enabled");
    EXPECT_EQ(enabled.fields.at("Designation"), kLv2 + "enabled");
    EXPECT_EQ(enabled.fields.at("Default"), "1.000000");
    EXPECT_EQ(enabled.properties, (std::set<std::string>{kLv2 + "integer", kLv2 + "toggled"}));
}

TEST(Lv2Bundle, Lv2benchRunsThePlugin) {
    const CommandResult bench = runCommand(lv2ToolEnvironment() + "lv2bench -b 256 -n 16384 " + kUri);
    EXPECT_EQ(bench.exitCode, 0) << bench.output;
    EXPECT_NE(bench.output.find(kUri), std::string::npos) << bench.output;
    EXPECT_EQ(bench.output.find("rror"), std::string::npos) << bench.output;
}
