// bench --editor-open: what an open editor costs. Each plug-in runs twice,
// side by side in alternating turns: with no editor, and with its editor
// open and idled after every block (untimed), so the audio thread hands the
// editor its sound the whole time as it does while a user watches. Then the
// demo plays at the real-time pace with the editor open, and the editor's
// thread's processor time is its share of one core.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <time.h>
#endif

#include "host/commands.h"
#include "host/demo_signal.h"
#include "host/editor_window.h"
#include "host/loaded_plugin.h"
#include "host/plugin_settings.h"
#include "host/realtime_player.h"
#include "host/turn_taking_plugin.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kRate = 44100.0;
constexpr size_t kTurnFrames = 44100;
constexpr int kMinimumRounds = 3;

// Processor seconds the calling thread has used.
double threadCpuSeconds() {
#if defined(_WIN32)
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
#else
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

struct Instance {
    std::unique_ptr<LoadedPlugin> loaded;
    std::unique_ptr<TurnTakingPlugin> plugin;  // both take the same path
    std::unique_ptr<EditorWindow> window;
    size_t position = 0;
    std::vector<double> nsPerFrame;
};

Instance startInstance(const std::string& path, const Invocation& invocation) {
    Instance instance;
    instance.loaded = loadPlugin(path);
    instance.loaded->configure(kRate, invocation.blockSize);
    applySettings(*instance.loaded, invocation);
    if (invocation.editorScale) instance.loaded->setEditorScale(*invocation.editorScale);
    instance.loaded->prepareAudio();
    instance.loaded->start();
    instance.plugin = std::make_unique<TurnTakingPlugin>(*instance.loaded);
    return instance;
}

// One turn; only the blocks are timed, not the editor's idles between them.
double timeTurn(Instance& instance, const StereoSignal& signal, std::vector<float>& outLeft,
                std::vector<float>& outRight) {
    Clock::duration spent{};
    for (size_t done = 0; done < kTurnFrames;) {
        const size_t frames = std::min({outLeft.size(), kTurnFrames - done, signal.frames() - instance.position});
        const auto start = Clock::now();
        instance.plugin->process(signal.left.data() + instance.position, signal.right.data() + instance.position,
                                 outLeft.data(), outRight.data(), static_cast<int32_t>(frames));
        spent += Clock::now() - start;
        if (instance.window) instance.plugin->idleEditor();
        done += frames;
        instance.position = (instance.position + frames) % signal.frames();
    }
    return std::chrono::duration<double, std::nano>(spent).count() / static_cast<double>(kTurnFrames);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

void compareAudioThread(const std::string& path, const Invocation& invocation, const StereoSignal& signal) {
    Instance closed = startInstance(path, invocation);
    Instance open = startInstance(path, invocation);
    open.window = std::make_unique<EditorWindow>(*open.plugin, "velmora-host bench: " + open.plugin->displayName());
    std::vector<float> outLeft(static_cast<size_t>(invocation.blockSize)), outRight(outLeft.size());
    timeTurn(closed, signal, outLeft, outRight);
    timeTurn(open, signal, outLeft, outRight);
    const auto deadline = Clock::now() + std::chrono::duration<double>(invocation.benchSeconds);
    for (int round = 0; round < kMinimumRounds || Clock::now() < deadline; ++round) {
        Instance& first = round % 2 == 0 ? closed : open;
        Instance& second = round % 2 == 0 ? open : closed;
        first.nsPerFrame.push_back(timeTurn(first, signal, outLeft, outRight));
        second.nsPerFrame.push_back(timeTurn(second, signal, outLeft, outRight));
    }
    const double none = median(closed.nsPerFrame), withEditor = median(open.nsPerFrame);
    const std::string name = std::filesystem::path(path).filename().string();
    std::printf("%-40s  %10.2f  %8.3f\n", (name + ", no editor").c_str(), none, 1.0);
    std::printf("%-40s  %10.2f  %8.3f\n", (name + ", editor open").c_str(), withEditor, none > 0 ? withEditor / none : 0);
    open.window.reset();
}

void measureEditor(const std::string& path, const Invocation& invocation) {
    Instance instance = startInstance(path, invocation);
    RealtimePlayer player(*instance.plugin, makeDemoSignal(kRate), kRate, invocation.blockSize);
    EditorWindow window(*instance.plugin, "velmora-host bench: " + instance.plugin->displayName());
    window.idleFor(0.5);  // settled: the first paint is done
    const double cpuBefore = threadCpuSeconds();
    const auto start = Clock::now();
    window.idleFor(invocation.benchSeconds);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double share = (threadCpuSeconds() - cpuBefore) / wall;
    std::printf("%s's editor at %.0f %% with the demo playing: %.2f %% of one core (its thread's processor time "
                "over %.1f s)\n",
                std::filesystem::path(path).filename().string().c_str(), invocation.editorScale.value_or(1.0) * 100.0,
                share * 100.0, wall);
}

}  // namespace

int runEditorBench(const Invocation& invocation) {
    EditorWindow::requireDisplay();
    const StereoSignal signal = makeDemoSignal(kRate);
    std::printf("Turns of %zu frames, %d-frame blocks, %.0f Hz, %s parameters; the editor is idled after every "
                "block\n",
                kTurnFrames, invocation.blockSize, kRate, invocation.assignments.empty() ? "default" : "the given");
    std::printf("%-40s  %10s  %8s\n", "audio thread", "ns/frame", "ratio");
    for (const auto& path : invocation.plugins) compareAudioThread(path, invocation, signal);
    for (const auto& path : invocation.plugins) measureEditor(path, invocation);
    return 0;
}
