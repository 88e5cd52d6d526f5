// Command-line parsing for velmora-host: turns argv into one Invocation and
// rejects anything malformed with a UsageError before a plug-in is touched.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class Command { Help, Info, Render, Bench, Screenshot, Gui, Spectrum, Compare };

// One --set NAME=VALUE; the target is resolved against the plug-in later,
// because only the plug-in knows its parameter names.
struct ParamAssignment {
    std::string target;  // parameter name or decimal index
    float value = 0.0f;  // normalised, checked to lie in 0..1
    std::string text;    // a value typed as the plug-in shows it ("250 Hz"); empty for a number
};

struct Invocation {
    Command command = Command::Help;
    std::vector<std::string> plugins;  // exactly one, except for bench
    std::string inputPath;             // render and compare: optional input WAV
    std::string outputPath;            // render: WAV, screenshot, spectrum and compare: PNG
    std::vector<ParamAssignment> assignments;
    std::optional<int32_t> program;
    std::optional<std::string> preset;  // a preset's name (any letter case) or CLAP load key
    int32_t blockSize = 512;
    std::optional<double> sampleRate;  // render: demo signal rate; spectrum: the rate
    std::optional<double> toneHz;      // spectrum: the sine's frequency
    double benchSeconds = 3.0;
    bool baseline = false;  // bench: time the built-in plain signal path too
    std::optional<std::string> audioPath;  // bench: "sse2" or "avx", the copy Velmora runs
    bool trace = false;
    std::optional<double> quitAfter;
    // The editor's scale factor (screenshot, gui, bench --editor-open);
    // nothing leaves it to the plug-in.
    std::optional<double> editorScale;
    // screenshot, gui: "demo" or a sound file played through the plug-in at
    // the real-time pace while the editor is open; empty for none.
    std::string playPath;
    // screenshot: seconds after the editor opened when the picture is taken.
    std::optional<double> after;
    // bench: each plug-in also timed with its editor open.
    bool editorOpen = false;
};

constexpr int32_t kMaxBlockSize = 65536;

// args excludes the program name. Throws UsageError.
Invocation parseCommandLine(const std::vector<std::string>& args);

// The full --help text.
const char* usageText();

// Strict number parsing shared with other command-line checks: the whole text
// must be the number, and it must be finite.
std::optional<double> parseNumber(const std::string& text);
std::optional<int64_t> parseInteger(const std::string& text);
