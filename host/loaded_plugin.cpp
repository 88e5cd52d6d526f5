#include <algorithm>
#include <cctype>
#include <vector>

#include "host/loaded_plugin.h"

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

// For formats without a text-to-value (VST 2 plug-ins that refuse it): a
// thousand steps across the range, every value restored afterwards in index
// order, since setting one parameter may move another.
std::optional<float> LoadedPlugin::parameterFromText(int32_t index, const std::string& text) {
    std::vector<float> kept;
    for (int32_t i = 0; i < parameterCount(); ++i) kept.push_back(parameter(i));
    const std::string label = parameterLabel(index);
    std::optional<float> found;
    constexpr int kSteps = 1000;
    for (int step = 0; step <= kSteps && !found; ++step) {
        const float candidate = static_cast<float>(step) / kSteps;
        setParameter(index, candidate);
        const std::string shown = parameterDisplay(index);
        if (sameIgnoringCase(shown, text) || (!label.empty() && sameIgnoringCase(shown + " " + label, text)))
            found = candidate;
    }
    for (int32_t i = 0; i < static_cast<int32_t>(kept.size()); ++i) setParameter(i, kept[static_cast<size_t>(i)]);
    return found;
}
