// Build-time tool: writes manifest.ttl, the plug-in description and the
// factory presets into the bundle folder given on the command line.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "lv2/lv2_identity.h"
#include "lv2/preset_turtle.h"
#include "lv2/turtle_description.h"

namespace {

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::fprintf(stderr, "Cannot write %s.\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--no-ui") != 0)) {
        std::fprintf(stderr, "Usage: %s BUNDLE_DIR [--no-ui]\n", argv[0]);
        return 2;
    }
    TurtleOptions options;
    options.withUi = argc == 2;
    const std::string bundle = argv[1];
    const bool written = writeFile(bundle + "/manifest.ttl", manifestTurtle(options)) &&
                         writeFile(bundle + "/" + lv2id::kPluginDescriptionFile, pluginTurtle(options)) &&
                         writeFile(bundle + "/" + lv2id::kPresetsFile, presetsTurtle());
    return written ? 0 : 1;
}
