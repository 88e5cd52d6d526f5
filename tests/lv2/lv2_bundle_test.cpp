// The generated bundle as third-party LV2 tools see it: the Turtle parses,
// lv2info lists the ports we mean (the latency port as the plug-in's), and
// lv2bench can run the plug-in.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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

struct ExpectedControl {
    const char* symbol;
    const char* name;
    const char* defaultText;
    const char* property;  // empty, "toggled" or "enumeration"
};

const ExpectedControl kControls[19] = {
    {"cross1", "Cross1", "0.500000", ""},           {"cross2", "Cross2", "0.500000", ""},
    {"pfilter", "PFilter", "1.000000", "toggled"},  {"solo1", "Solo1", "0.000000", "toggled"},
    {"solo2", "Solo2", "0.000000", "toggled"},      {"solo3", "Solo3", "0.000000", "toggled"},
    {"balance1", "Balance1", "0.500000", ""},       {"balance2", "Balance2", "0.500000", ""},
    {"balance3", "Balance3", "0.500000", ""},       {"gain1", "Gain1", "0.000000", ""},
    {"gain2", "Gain2", "0.000000", ""},             {"gain3", "Gain3", "0.000000", ""},
    {"type1", "Type1", "0.000000", "enumeration"},  {"type2", "Type2", "0.000000", "enumeration"},
    {"type3", "Type3", "0.000000", "enumeration"},  {"level1", "Level1", "1.000000", ""},
    {"level2", "Level2", "1.000000", ""},           {"level3", "Level3", "1.000000", ""},
    {"master", "Master", "1.000000", ""},
};

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
    EXPECT_NE(listed.output.find("Optional Features: " + kLv2 + "hardRTCapable"), std::string::npos);
    EXPECT_EQ(listed.output.find("Required Features"), std::string::npos);
    EXPECT_EQ(listed.output.find("InPlaceBroken"), std::string::npos);
}

TEST(Lv2Bundle, Lv2infoListsAudioThenNineteenControlsThenQualityLatencyMixAndEnabled) {
    const CommandResult listed = lv2info();
    ASSERT_EQ(listed.exitCode, 0) << listed.output;
    const std::map<int, ListedPort> ports = parsePorts(listed.output);
    ASSERT_EQ(ports.size(), 27u);

    const char* audioSymbols[4] = {"in_l", "in_r", "out_l", "out_r"};
    for (int i = 0; i < 4; ++i) {
        const ListedPort& port = ports.at(i);
        EXPECT_EQ(port.fields.at("Symbol"), audioSymbols[i]);
        EXPECT_TRUE(port.types.count(kLv2 + "AudioPort")) << i;
        EXPECT_TRUE(port.types.count(kLv2 + (i < 2 ? "InputPort" : "OutputPort"))) << i;
    }

    for (int p = 0; p < 19; ++p) {
        const ExpectedControl& expected = kControls[p];
        const ListedPort& port = ports.at(4 + p);
        SCOPED_TRACE(expected.symbol);
        EXPECT_TRUE(port.types.count(kLv2 + "ControlPort"));
        EXPECT_TRUE(port.types.count(kLv2 + "InputPort"));
        EXPECT_EQ(port.fields.at("Symbol"), expected.symbol);
        EXPECT_EQ(port.fields.at("Name"), expected.name);
        EXPECT_EQ(port.fields.at("Minimum"), "0.000000");
        EXPECT_EQ(port.fields.at("Maximum"), "1.000000");
        EXPECT_EQ(port.fields.at("Default"), expected.defaultText);
        const std::string property = expected.property;
        if (property.empty()) {
            EXPECT_TRUE(port.properties.empty());
        } else {
            EXPECT_EQ(port.properties, std::set<std::string>{kLv2 + property});
        }
        // Ports carry the normalised value, so no unit may be claimed.
        EXPECT_EQ(port.fields.count("Unit"), 0u);
        if (property != "enumeration") {
            EXPECT_TRUE(port.scalePoints.empty());
        }
    }

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
    EXPECT_EQ(ports.at(25).fields.at("Default"), "1.000000");
    // The port hosts link their bypass button to, so bypass keeps the plug-in running.
    const ListedPort& enabled = ports.at(26);
    EXPECT_EQ(enabled.fields.at("Symbol"), "enabled");
    EXPECT_EQ(enabled.fields.at("Designation"), kLv2 + "enabled");
    EXPECT_EQ(enabled.fields.at("Default"), "1.000000");
    EXPECT_EQ(enabled.properties, (std::set<std::string>{kLv2 + "integer", kLv2 + "toggled"}));
}

TEST(Lv2Bundle, CurveChoicesOfferEachCurveAtItsLowestValue) {
    const CommandResult listed = lv2info();
    ASSERT_EQ(listed.exitCode, 0) << listed.output;
    const std::map<int, ListedPort> ports = parsePorts(listed.output);
    const std::map<std::string, std::string> expected = {
        {"Saturation1", "0.0"}, {"Saturation2", "0.1666"}, {"Saturation3", "0.3333"}, {"HardClip", "0.5"},
        {"Puncher", "0.6666"},  {"Sinus", "0.8333"},       {"Crackler", "0.9999"}};
    for (int port = 16; port <= 18; ++port) EXPECT_EQ(ports.at(port).scalePoints, expected) << "port " << port;
}

TEST(Lv2Bundle, Lv2benchRunsThePlugin) {
    const CommandResult bench = runCommand(lv2ToolEnvironment() + "lv2bench -b 256 -n 16384 " + kUri);
    EXPECT_EQ(bench.exitCode, 0) << bench.output;
    EXPECT_NE(bench.output.find(kUri), std::string::npos) << bench.output;
    EXPECT_EQ(bench.output.find("rror"), std::string::npos) << bench.output;
}
