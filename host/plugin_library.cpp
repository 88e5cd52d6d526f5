#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/errors.h"
#include "host/plugin_library.h"

namespace {

void requireReadableFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        throw HostError("Plug-in file " + path + " does not exist.");
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw HostError("Plug-in path " + path + " is not a regular file.");
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw HostError("Cannot read plug-in file " + path + " (" + std::strerror(errno) + ").");
    }
    std::fclose(file);
}

}  // namespace

std::unique_ptr<PluginLibrary> openPluginLibrary(const std::string& path) {
    requireReadableFile(path);
    return std::make_unique<PluginLibrary>(path);
}
