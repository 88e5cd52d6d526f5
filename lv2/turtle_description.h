// The bundle's Turtle files (the presets in preset_turtle.h), written from the parameter table so the LV2
// ports always match the effect's parameters.
#pragma once

#include <string>

struct TurtleOptions {
    bool withUi = true;  // describe the X11 UI binary as well
};

std::string manifestTurtle(const TurtleOptions& options);
std::string pluginTurtle(const TurtleOptions& options);

// A float as the shortest decimal that reads back as the same float, always
// with a point and never an exponent, so Turtle types it as a decimal.
std::string turtleDecimal(float value);
