#include "crossover_handle_drag.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host_runner.h"
#include "png_reader.h"
#include "x11_windows.h"

namespace {
// The handle's line: the screen spans x 24..459 for values 0..1, and its
// plot lies below y 296. The knob is the 30 x 30 one at (158, 85).
constexpr int kHandleX = 242, kHandleY = 340, kEndX = 372;
constexpr int kKnobX = 158, kKnobY = 85, kKnobSize = 30;

std::string readText(const std::filesystem::path& path) {
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}
}  // namespace

std::vector<std::string> parameterLines(const std::vector<std::string>& trace, int index) {
    std::vector<std::string> lines;
    for (const std::string& line : trace)
        for (const char* kind : {"beginEdit ", "automate ", "endEdit "})
            if (line.starts_with(kind + std::to_string(index) + " ") || line == kind + std::to_string(index))
                lines.push_back(line);
    return lines;
}

HandleDrag dragCross1Handle(const std::string& plugin) {
    HandleDrag result;
    ScratchDir dir;
    const pid_t host = startHost({"gui", plugin, "--trace"}, dir / "trace.txt");
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return result;
    const Window window = waitForWindow(display, "velmora-host: Velmora");
    if (window != 0) {
        const std::string id = std::to_string(window);
        const std::string command = "xdotool mousemove --sync --window " + id + " " + std::to_string(kHandleX) + " " +
                                    std::to_string(kHandleY) + " mousedown 1 sleep 0.1 mousemove --sync --window " +
                                    id + " 300 " + std::to_string(kHandleY) + " sleep 0.05 mousemove --sync --window " +
                                    id + " " + std::to_string(kEndX) + " " + std::to_string(kHandleY) +
                                    " sleep 0.1 mouseup 1 sleep 0.4";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        result.knobAfterDrag = readWindowPixels(display, window, kKnobX, kKnobY, kKnobSize, kKnobSize);
        sendDeleteWindow(display, window);
    }
    XCloseDisplay(display);
    EXPECT_EQ(waitHost(host, 30.0), 0);
    EXPECT_NE(window, 0u) << readText(dir / "trace.txt.err");
    std::istringstream trace(readText(dir / "trace.txt"));
    for (std::string line; std::getline(trace, line);)
        if (line != "idle") result.trace.push_back(line);

    const HostRun shot =
        runHost({"screenshot", plugin, dir / "end.png", "--set", "Cross2=0.8", "--set", "Cross1=0.8"});
    EXPECT_EQ(shot.status, 0) << shot.err;
    const Png png = readPng(dir / "end.png");
    for (int row = 0; row < kKnobSize; ++row)
        for (int column = 0; column < kKnobSize; ++column)
            result.knobAtEndValue.push_back(png.at(kKnobX + column, kKnobY + row));
    return result;
}
