// The bundle's Turtle files, written from the parameter table so the LV2
// ports always match the effect's parameters.
#pragma once

#include <string>

struct TurtleOptions {
    bool withUi = true;  // describe the X11 UI binary as well
};

std::string manifestTurtle(const TurtleOptions& options);
std::string pluginTurtle(const TurtleOptions& options);

// A float as the shortest decimal that reads back as the same float, always
// with a point so Turtle types it as a decimal, never an integer.
std::string turtleDecimal(float value);
