// A real drag on the analyser's Cross1 handle in an editor velmora-host
// shows, made with xdotool: what the host traced, and the Cross1 knob's
// pixels after it next to those of a screenshot at the value it ended on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HandleDrag {
    std::vector<std::string> trace;  // without idle lines
    std::vector<uint32_t> knobAfterDrag;
    std::vector<uint32_t> knobAtEndValue;
};

// Drags Cross1 from its default (0.5) to 0.8, which pushes Cross2 along.
HandleDrag dragCross1Handle(const std::string& plugin);

// The traced lines for one parameter index (beginEdit, automate, endEdit).
std::vector<std::string> parameterLines(const std::vector<std::string>& trace, int index);
