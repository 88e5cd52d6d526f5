// Unit tests of the host's portable parts: command-line parsing, parameter
// name resolution, trace lines and the demo signal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/cli_args.h"
#include "host/demo_signal.h"
#include "host/errors.h"
#include "host/host_callback.h"
#include "host/plugin_settings.h"

namespace {

Invocation parse(std::vector<std::string> args) { return parseCommandLine(args); }

TEST(CommandLine, RenderTakesOptionalInputAndAllOptionsInAnyPosition) {
    const Invocation demo = parse({"render", "p.so", "out.wav"});
    EXPECT_EQ(demo.command, Command::Render);
    EXPECT_EQ(demo.plugins, std::vector<std::string>{"p.so"});
    EXPECT_TRUE(demo.inputPath.empty());
    EXPECT_EQ(demo.outputPath, "out.wav");
    EXPECT_EQ(demo.blockSize, 512);

    const Invocation full = parse({"render", "--block", "64", "p.so", "in.wav", "--set", "Master=0",
                                   "--program=3", "out.wav", "--set=7=1", "--rate", "48000"});
    EXPECT_EQ(full.inputPath, "in.wav");
    EXPECT_EQ(full.outputPath, "out.wav");
    EXPECT_EQ(full.blockSize, 64);
    EXPECT_EQ(full.program, 3);
    ASSERT_EQ(full.assignments.size(), 2u);
    EXPECT_EQ(full.assignments[0].target, "Master");
    EXPECT_EQ(full.assignments[0].value, 0.0f);
    // Only the first '=' separates name and value.
    EXPECT_EQ(full.assignments[1].target, "7");
    EXPECT_EQ(full.assignments[1].value, 1.0f);
    EXPECT_EQ(full.sampleRate, 48000.0);
}

TEST(CommandLine, OtherCommandsTakeTheirOwnShapes) {
    const Invocation bench = parse({"bench", "a.so", "b.so", "c.so", "--seconds", "0.5", "--block", "128"});
    EXPECT_EQ(bench.plugins.size(), 3u);
    EXPECT_EQ(bench.benchSeconds, 0.5);
    EXPECT_EQ(bench.blockSize, 128);
    EXPECT_FALSE(bench.baseline);
    const Invocation baseline = parse({"bench", "v.so", "--baseline", "--set", "Gain1=0.7", "--program", "2"});
    EXPECT_TRUE(baseline.baseline);
    EXPECT_EQ(baseline.assignments.at(0).target, "Gain1");
    EXPECT_EQ(baseline.program, 2);

    const Invocation gui = parse({"gui", "p.so", "--trace", "--quit-after", "2.5", "--set", "gain1=0.25"});
    EXPECT_EQ(gui.command, Command::Gui);
    EXPECT_TRUE(gui.trace);
    EXPECT_EQ(gui.quitAfter, 2.5);
    EXPECT_EQ(gui.assignments.at(0).value, 0.25f);

    const Invocation shot = parse({"screenshot", "p.so", "shot.png", "--program", "1"});
    EXPECT_EQ(shot.outputPath, "shot.png");
    EXPECT_EQ(shot.program, 1);

    for (const char* help : {"--help", "-h", "help"}) EXPECT_EQ(parse({help}).command, Command::Help);
    EXPECT_EQ(parse({"render", "--help"}).command, Command::Help);
}

TEST(CommandLine, MalformedCommandLinesAreUsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"play", "p.so"},
        {"info"},
        {"info", "a.so", "b.so"},
        {"render", "p.so"},
        {"render", "p.so", "a.wav", "b.wav", "c.wav"},
        {"render", "p.so", "same.wav", "same.wav"},
        {"render", "p.so", "o.wav", "--block", "0"},
        {"render", "p.so", "o.wav", "--block", "65537"},
        {"render", "p.so", "o.wav", "--block", "12x"},
        {"render", "p.so", "o.wav", "--block"},
        {"render", "p.so", "o.wav", "--set", "Master"},
        {"render", "p.so", "o.wav", "--set", "=0.5"},
        {"render", "p.so", "o.wav", "--set", "Master=1.01"},
        {"render", "p.so", "o.wav", "--set", "Master=-0.1"},
        {"render", "p.so", "o.wav", "--set", "Master="},
        {"render", "p.so", "o.wav", "--set", "Master=nan"},
        {"render", "p.so", "o.wav", "--set", "Master=inf"},
        {"render", "p.so", "o.wav", "--program", "-1"},
        {"render", "p.so", "o.wav", "--rate", "100"},
        {"render", "p.so", "o.wav", "--trace"},
        {"info", "p.so", "--set", "Master=0"},
        {"bench"},
        {"bench", "p.so", "--seconds", "0"},
        {"bench", "p.so", "--baseline=yes"},
        {"render", "p.so", "o.wav", "--baseline"},
        {"screenshot", "p.so"},
        {"gui", "p.so", "--trace=yes"},
        {"gui", "p.so", "--quit-after", "soon"},
        {"screenshot", "p.so", "o.png", "--after", "2"},  // only with --play
        {"render", "p.so", "o.wav", "--play", "demo"},
        {"bench", "p.so", "--scale", "2"},  // only with --editor-open
        {"render", "p.so", "o.wav", "--bogus", "1"},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& arg : args) joined += arg + " ";
        try {
            parse(args);
            ADD_FAILURE() << "accepted: " << joined;
        } catch (const UsageError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.find('\n'), std::string::npos) << joined;
            EXPECT_FALSE(message.empty()) << joined;
        }
    }
}

TEST(CommandLine, NumbersMustBeWholeAndFinite) {
    EXPECT_EQ(parseNumber("0.25"), 0.25);
    EXPECT_EQ(parseNumber("+1"), 1.0);
    EXPECT_EQ(parseNumber("1e-3"), 0.001);
    for (const char* text : {"", " 1", "1 ", "0.5x", "nan", "inf", "--1"}) EXPECT_FALSE(parseNumber(text)) << text;
    EXPECT_EQ(parseInteger("42"), 42);
    for (const char* text : {"", "4.0", "0x10", "1e3"}) EXPECT_FALSE(parseInteger(text)) << text;
}

TEST(ParameterResolution, NamesMatchWithoutCaseAndDigitsAreIndices) {
    const std::vector<std::string> names = {"Cross1", "Cross2", "Gain1", "Master"};
    EXPECT_EQ(resolveParameter("Master", names, "P"), 3);
    EXPECT_EQ(resolveParameter("master", names, "P"), 3);
    EXPECT_EQ(resolveParameter("GAIN1", names, "P"), 2);
    EXPECT_EQ(resolveParameter("0", names, "P"), 0);
    EXPECT_EQ(resolveParameter("3", names, "P"), 3);
    EXPECT_THROW(resolveParameter("4", names, "P"), UsageError);
    EXPECT_THROW(resolveParameter("-1", names, "P"), UsageError);
    EXPECT_THROW(resolveParameter("Mast", names, "P"), UsageError);
    EXPECT_THROW(resolveParameter("Master ", names, "P"), UsageError);
    EXPECT_THROW(resolveParameter("x", {}, "P"), UsageError);
}

TEST(HostCalls, TraceLinesNameTheCallAndItsArguments) {
    EXPECT_EQ(formatHostCall(audioMasterAutomate, 9, 0, 0.5034f), "automate 9 0.503");
    EXPECT_EQ(formatHostCall(audioMasterBeginEdit, 9, 0, 0.0f), "beginEdit 9");
    EXPECT_EQ(formatHostCall(audioMasterEndEdit, 12, 0, 0.0f), "endEdit 12");
    EXPECT_EQ(formatHostCall(audioMasterIdle, 0, 0, 0.0f), "idle");
    EXPECT_EQ(formatHostCall(audioMasterSizeWindow, 500, 300, 0.0f), "sizeWindow 500 300 0");
    EXPECT_EQ(formatHostCall(99, 1, 2, 0.5f), "opcode99 1 2 0.5");
}

TEST(HostCalls, AnswersIdentifyTheHostAndItsSettings) {
    HostContext host;
    host.sampleRate = 48000.0;
    host.blockSize = 256;
    host.uniqueId = fourCharCode('V', 'l', 'm', '5');
    EXPECT_EQ(host.answer(audioMasterVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ(host.answer(audioMasterGetSampleRate, 0, 0, nullptr, 0.0f), 48000);
    EXPECT_EQ(host.answer(audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 256);
    EXPECT_EQ(host.answer(audioMasterCurrentId, 0, 0, nullptr, 0.0f), 0x566C6D35);
    EXPECT_EQ(host.answer(audioMasterCanDo, 0, 0, const_cast<char*>("sendVstEvents"), 0.0f), 0);
    EXPECT_EQ(host.answer(audioMasterGetTime, 0, 0, nullptr, 0.0f), 0);

    host.answer(audioMasterBeginEdit, 4, 0, nullptr, 0.0f);
    host.answer(audioMasterAutomate, 4, 0, nullptr, 0.75f);
    host.answer(audioMasterEndEdit, 4, 0, nullptr, 0.0f);
    EXPECT_EQ(host.counts().beginEdit, 1);
    EXPECT_EQ(host.counts().automate, 1);
    EXPECT_EQ(host.counts().endEdit, 1);
    EXPECT_EQ(host.lastAutomatedIndex(), 4);
    EXPECT_EQ(host.lastAutomatedValue(), 0.75f);
}

TEST(DemoSignal, IsStereoDeterministicAudibleAndBelowFullScale) {
    const StereoSignal a = makeDemoSignal(44100.0);
    const StereoSignal b = makeDemoSignal(44100.0);
    ASSERT_EQ(a.frames(), demoSignalFrames(44100.0));
    EXPECT_EQ(a.frames(), 308700u);
    EXPECT_EQ(a.right.size(), a.left.size());
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);

    float peak = 0.0f;
    double energy = 0.0;
    bool channelsDiffer = false;
    for (size_t i = 0; i < a.frames(); ++i) {
        peak = std::max({peak, std::fabs(a.left[i]), std::fabs(a.right[i])});
        energy += static_cast<double>(a.left[i]) * a.left[i];
        channelsDiffer = channelsDiffer || a.left[i] != a.right[i];
    }
    EXPECT_LT(peak, 1.0f);
    EXPECT_GT(peak, 0.5f);
    EXPECT_GT(std::sqrt(energy / static_cast<double>(a.frames())), 0.05);  // RMS well above silence
    EXPECT_TRUE(channelsDiffer);
    // It fades out instead of stopping on a click.
    EXPECT_LT(std::fabs(a.left.back()), 1e-3f);
}

// Energy of the signal near a frequency, by correlation with a sine and cosine.
double energyAt(const std::vector<float>& signal, double rate, double hz, size_t begin, size_t count) {
    double re = 0.0, im = 0.0;
    for (size_t i = begin; i < begin + count; ++i) {
        const double phase = 2.0 * 3.14159265358979 * hz * static_cast<double>(i) / rate;
        re += signal[i] * std::cos(phase);
        im += signal[i] * std::sin(phase);
    }
    return (re * re + im * im) / static_cast<double>(count * count);
}

TEST(DemoSignal, HasSomethingInEachBandAtAnyRate) {
    for (double rate : {44100.0, 48000.0}) {
        const StereoSignal signal = makeDemoSignal(rate);
        EXPECT_EQ(signal.frames(), static_cast<size_t>(7.0 * rate));
        const size_t count = static_cast<size_t>(rate);  // the first second: A minor
        const double bass = energyAt(signal.left, rate, 55.0, 0, count);
        const double pad = energyAt(signal.left, rate, 329.63, 0, count);
        // Hi-hat hiss: the sample-to-sample difference carries the treble.
        double treble = 0.0;
        for (size_t i = 1; i < count; ++i) {
            const double d = signal.right[i] - signal.right[i - 1];
            treble += d * d;
        }
        EXPECT_GT(bass, 1e-4) << rate;
        EXPECT_GT(pad, 1e-6) << rate;
        EXPECT_GT(energyAt(signal.left, rate, 55.0, 0, count), energyAt(signal.left, rate, 3000.0, 0, count));
        EXPECT_GT(treble / static_cast<double>(count), 1e-5) << rate;
    }
}

}  // namespace
