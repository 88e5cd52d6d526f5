#include "host/cli_args.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "host/errors.h"

namespace {

const char kUsage[] =
    "Usage: velmora-host COMMAND ARGUMENTS [OPTIONS]\n"
    "\n"
    "A command-line host for VST 2, CLAP and VST 3 plug-ins. PLUGIN is a VST 3\n"
    "bundle folder, or a library file whose name (*.vst3) or exports\n"
    "(clap_entry, VSTPluginMain/main, GetPluginFactory) say which it is.\n"
    "\n"
    "Commands:\n"
    "  info PLUGIN\n"
    "      Print the plug-in's identity, flags, inputs and outputs, initial delay,\n"
    "      every parameter (index, name, display text, label), its programs and\n"
    "      its presets (CLAP: found through preset discovery; VST 3: the\n"
    "      controller's program list).\n"
    "  render PLUGIN [IN.wav] OUT.wav [--preset NAME] [--set NAME=VALUE ...]\n"
    "         [--program N] [--block N] [--rate HZ]\n"
    "      Process IN.wav, or without it the built-in 7-second demo signal (bass\n"
    "      line, chord pad, kick, snare and hi-hat), through the plug-in and write\n"
    "      OUT.wav as 32-bit float stereo. A mono input is duplicated to both\n"
    "      channels; more than two channels is an error.\n"
    "  bench PLUGIN [PLUGIN2 ...] [--block N] [--seconds S] [--baseline]\n"
    "        [--path sse2|avx] [--preset NAME] [--set NAME=VALUE ...] [--program N]\n"
    "        [--editor-open [--scale S]]\n"
    "      Time processReplacing (CLAP, VST 3: process) on the demo signal, the\n"
    "      plug-ins taking turns in rounds, and print each one's median ns per\n"
    "      frame and its ratio to the first plug-in. --preset, --set and\n"
    "      --program apply to every plug-in. --editor-open (needs a display) adds\n"
    "      each plug-in again with its editor open and idled after every block,\n"
    "      as an open editor empties what the audio thread hands it, then plays\n"
    "      the demo at the real-time pace for --seconds with the editor open and\n"
    "      prints the editor's share of one core.\n"
    "  screenshot PLUGIN OUT.png [--preset NAME] [--set NAME=VALUE ...] [--program N]\n"
    "             [--scale S] [--play demo|IN.wav [--after S]]\n"
    "      Open the plug-in's editor in a window and save it as a PNG image;\n"
    "      with --play, S seconds (default 2) into the sound.\n"
    "  gui PLUGIN [--preset NAME] [--set NAME=VALUE ...] [--program N] [--trace]\n"
    "      [--quit-after SECONDS] [--scale S] [--play demo|IN.wav]\n"
    "      Open the plug-in's editor in a window until it is closed.\n"
    "      --play runs the plug-in on an audio thread of its own at the real-time\n"
    "      pace while the editor is open, looping the demo signal or the file (no\n"
    "      sound device is needed or used); the editor and that thread take\n"
    "      turns on the plug-in, so the sound pauses while a control is dragged.\n"
    "  spectrum PLUGIN OUT.png [--tone HZ] [--rate HZ] [--preset NAME]\n"
    "           [--set NAME=VALUE ...] [--program N]\n"
    "      Play a sine at -6 dBFS (default 4987 Hz) through the plug-in, draw the\n"
    "      output's spectrum with its harmonics and its aliases (the inharmonic\n"
    "      rest) told apart, and print the alias-to-harmonic power ratio in dB.\n"
    "      Linux build only.\n"
    "  compare PLUGIN [IN.wav] OUT.png [--preset NAME] [--set NAME=VALUE ...]\n"
    "          [--program N] [--rate HZ]\n"
    "      Process IN.wav, or the demo signal, through the plug-in and draw the\n"
    "      input's and the output's long-term spectra side by side, labelled\n"
    "      with the preset and every setting; print the output's RMS relative\n"
    "      to the input's. Linux build only.\n"
    "\n"
    "Options:\n"
    "  --set NAME=VALUE    Set a parameter, named as the plug-in names it (any\n"
    "                      letter case) or by index, to a normalised value 0..1\n"
    "                      (a CLAP parameter's range is scaled onto 0..1, and a\n"
    "                      stepped one takes the step nearest to that: a range\n"
    "                      of 0..3 in whole steps is 0, 0.333, 0.667 or 1), or\n"
    "                      to a text as the plug-in shows values (\"250 Hz\",\n"
    "                      \"-6 dB\", \"HardClip\", \"On\"), which the plug-in\n"
    "                      reads. May be repeated.\n"
    "  --program N         Select program N before the --set values apply.\n"
    "  --preset NAME       Load the preset of that name (any letter case; for\n"
    "                      CLAP also its load key) after --program and before\n"
    "                      the --set values; info lists the names.\n"
    "  --block N           Frames per processing call, 1..65536 (default 512).\n"
    "  --rate HZ           Sample rate of the demo signal or the spectrum's sine,\n"
    "                      8000..384000 (default 44100); an input file keeps its\n"
    "                      own rate.\n"
    "  --tone HZ           spectrum: the sine's frequency (default 4987).\n"
    "  --seconds S         How long bench measures, in seconds (default 3).\n"
    "  --baseline          bench: also time Velmora's plain one-channel signal\n"
    "                      path, built into this host, with the first plug-in's\n"
    "                      parameter values; ratios are then to it.\n"
    "  --path sse2|avx     bench: the compiled copy of Velmora's audio path to run\n"
    "                      (default: avx where the processor has it).\n"
    "  --trace             Print every call the plug-in makes to the host on\n"
    "                      stdout, one line each (automate, beginEdit, endEdit, ...).\n"
    "  --quit-after S      Close the editor window after S seconds.\n"
    "  --scale S           Show the editor S times as large (screenshot, gui):\n"
    "                      CLAP plug-ins are told through their GUI extension,\n"
    "                      VST 3 plug-ins through the view's content scale,\n"
    "                      Velmora's VST 2 build through VELMORA_UI_SCALE.\n"
    "  -h, --help          Show this text.\n"
    "\n"
    "Exit status: 0 on success, 1 on failure, 2 on a usage error.\n";

struct CommandName {
    std::string_view name;
    Command command;
};

constexpr CommandName kCommands[] = {
    {"info", Command::Info},   {"render", Command::Render},         {"bench", Command::Bench},
    {"screenshot", Command::Screenshot}, {"gui", Command::Gui}, {"spectrum", Command::Spectrum},
    {"compare", Command::Compare},
};

bool takesOption(Command command, std::string_view option) {
    const bool setsParams = command == Command::Render || command == Command::Screenshot ||
                            command == Command::Gui || command == Command::Bench || command == Command::Spectrum ||
                            command == Command::Compare;
    if (option == "--set" || option == "--program" || option == "--preset") return setsParams;
    if (option == "--block") return command == Command::Render || command == Command::Bench;
    if (option == "--rate")
        return command == Command::Render || command == Command::Spectrum || command == Command::Compare;
    if (option == "--tone") return command == Command::Spectrum;
    if (option == "--seconds" || option == "--baseline" || option == "--path") return command == Command::Bench;
    if (option == "--trace" || option == "--quit-after") return command == Command::Gui;
    if (option == "--scale") return command == Command::Gui || command == Command::Screenshot || command == Command::Bench;
    if (option == "--play") return command == Command::Gui || command == Command::Screenshot;
    if (option == "--after") return command == Command::Screenshot;
    if (option == "--editor-open") return command == Command::Bench;
    return false;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool isNotANumberOrPlusInfinity(const std::string& text) {
    std::string lower;
    for (const char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!lower.empty() && (lower[0] == '+' || lower[0] == '-') && lower.substr(1, 3) == "nan") return true;
    if (!lower.empty() && lower[0] == '+') lower.erase(0, 1);
    return lower.starts_with("nan") || lower == "inf" || lower == "infinity";
}

ParamAssignment parseAssignment(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        throw UsageError("--set needs NAME=VALUE, not " + quoted(text) + ".");
    }
    ParamAssignment assignment;
    assignment.target = text.substr(0, equals);
    const std::string valueText = text.substr(equals + 1);
    const auto value = parseNumber(valueText);
    if (!value) {
        // A text the plug-in shows ("On", "250 Hz", "-inf dB"): the plug-in
        // reads it. A number that is no value at all is refused here.
        if (valueText.empty() || isNotANumberOrPlusInfinity(valueText)) {
            throw UsageError("The value of --set " + assignment.target +
                             " must be a number from 0 to 1 or a text the plug-in shows, not " + quoted(valueText) + ".");
        }
        assignment.text = valueText;
        return assignment;
    }
    if (*value < 0.0 || *value > 1.0) {
        throw UsageError("The value of --set " + assignment.target + " must lie between 0 and 1 (any range is " +
                         "scaled onto that), not " + valueText + ".");
    }
    assignment.value = static_cast<float>(*value);
    return assignment;
}

int64_t integerOption(std::string_view option, const std::string& text, int64_t low, int64_t high) {
    const auto value = parseInteger(text);
    if (!value || *value < low || *value > high) {
        throw UsageError(std::string(option) + " needs a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not " + quoted(text) + ".");
    }
    return *value;
}

std::string formatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

double numberOption(std::string_view option, const std::string& text, double low, double high) {
    const auto value = parseNumber(text);
    if (!value || *value < low || *value > high) {
        throw UsageError(std::string(option) + " needs a number from " + formatNumber(low) + " to " +
                         formatNumber(high) + ", not " + quoted(text) + ".");
    }
    return *value;
}

}  // namespace

const char* usageText() { return kUsage; }

std::optional<double> parseNumber(const std::string& text) {
    double value = 0.0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [next, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || next != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int64_t> parseInteger(const std::string& text) {
    int64_t value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto [next, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || next != end) return std::nullopt;
    return value;
}

Invocation parseCommandLine(const std::vector<std::string>& args) {
    Invocation invocation;
    if (args.empty()) throw UsageError("No command given; run velmora-host --help for usage.");

    const std::string& first = args[0];
    if (first == "-h" || first == "--help" || first == "help") return invocation;

    bool known = false;
    for (const auto& entry : kCommands) {
        if (first == entry.name) {
            invocation.command = entry.command;
            known = true;
        }
    }
    if (!known) throw UsageError("Unknown command " + quoted(first) + "; run velmora-host --help for usage.");
    const Command command = invocation.command;

    std::vector<std::string> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "-h" || arg == "--help") {
            invocation.command = Command::Help;
            return invocation;
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            positional.push_back(arg);
            continue;
        }
        // Both "--block 256" and "--block=256" are accepted.
        std::optional<std::string> inlineValue;
        if (const auto equals = arg.find('='); equals != std::string::npos) {
            inlineValue = arg.substr(equals + 1);
            arg.resize(equals);
        }
        if (!takesOption(command, arg)) {
            throw UsageError("The option " + arg + " does not apply to " + first +
                             "; run velmora-host --help for usage.");
        }
        if (arg == "--trace" || arg == "--baseline" || arg == "--editor-open") {
            if (inlineValue) throw UsageError(arg + " takes no value.");
            (arg == "--trace" ? invocation.trace : arg == "--baseline" ? invocation.baseline : invocation.editorOpen) =
                true;
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value.");
            value = args[++i];
        }
        if (arg == "--set") {
            invocation.assignments.push_back(parseAssignment(value));
        } else if (arg == "--preset") {
            if (value.empty()) throw UsageError("--preset needs a preset's name.");
            invocation.preset = value;
        } else if (arg == "--program") {
            invocation.program = static_cast<int32_t>(integerOption(arg, value, 0, 1 << 20));
        } else if (arg == "--block") {
            invocation.blockSize = static_cast<int32_t>(integerOption(arg, value, 1, kMaxBlockSize));
        } else if (arg == "--rate") {
            invocation.sampleRate = numberOption(arg, value, 8000.0, 384000.0);
        } else if (arg == "--tone") {
            invocation.toneHz = numberOption(arg, value, 1.0, 192000.0);
        } else if (arg == "--seconds") {
            invocation.benchSeconds = numberOption(arg, value, 0.01, 3600.0);
        } else if (arg == "--path") {
            if (value != "sse2" && value != "avx") throw UsageError("--path takes sse2 or avx, not " + quoted(value) + ".");
            invocation.audioPath = value;
        } else if (arg == "--quit-after") {
            invocation.quitAfter = numberOption(arg, value, 0.0, 86400.0);
        } else if (arg == "--scale") {
            invocation.editorScale = numberOption(arg, value, 0.25, 8.0);
        } else if (arg == "--play") {
            if (value.empty()) throw UsageError("--play takes demo or a sound file.");
            invocation.playPath = value;
        } else if (arg == "--after") {
            invocation.after = numberOption(arg, value, 0.0, 3600.0);
        }
    }
    if (invocation.after && invocation.playPath.empty()) throw UsageError("--after needs --play.");
    if (invocation.editorScale && command == Command::Bench && !invocation.editorOpen)
        throw UsageError("--scale applies to bench only with --editor-open.");

    auto requireCount = [&](size_t low, size_t high, const char* shape) {
        if (positional.size() < low || positional.size() > high) {
            throw UsageError(std::string(first) + " expects " + shape + "; run velmora-host --help for usage.");
        }
    };
    switch (command) {
        case Command::Info:
            requireCount(1, 1, "PLUGIN");
            invocation.plugins = positional;
            break;
        case Command::Render:
        case Command::Compare:
            requireCount(2, 3, command == Command::Render ? "PLUGIN [IN.wav] OUT.wav" : "PLUGIN [IN.wav] OUT.png");
            invocation.plugins = {positional[0]};
            if (positional.size() == 3) invocation.inputPath = positional[1];
            invocation.outputPath = positional.back();
            break;
        case Command::Bench:
            requireCount(1, 64, "one or more plug-ins");
            invocation.plugins = positional;
            break;
        case Command::Screenshot:
        case Command::Spectrum:
            requireCount(2, 2, "PLUGIN OUT.png");
            invocation.plugins = {positional[0]};
            invocation.outputPath = positional[1];
            break;
        case Command::Gui:
            requireCount(1, 1, "PLUGIN");
            invocation.plugins = positional;
            break;
        case Command::Help:
            break;
    }
    if ((command == Command::Render || command == Command::Compare) && !invocation.inputPath.empty() &&
        invocation.inputPath == invocation.outputPath) {
        throw UsageError("The output file must differ from the input file.");
    }
    return invocation;
}
