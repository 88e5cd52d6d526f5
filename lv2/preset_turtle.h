// The factory presets as LV2 presets inside the bundle: the entries
// manifest.ttl must hold for hosts to find them, and the file with their
// port values.
#pragma once

#include <string>

// Appended to manifest.ttl, which must already declare the pset, lv2 and
// rdfs prefixes.
std::string presetManifestEntries();
// presets.ttl, complete with its prefixes.
std::string presetsTurtle();

// The preset's URI: the plug-in's with "#preset-01" .. in table order, the
// order jalv lists them in.
std::string presetUri(size_t index);
