#include "gui_scale_choice.h"

#include <cstdlib>
#include <initializer_list>

#include "gui_scale.h"

namespace {
bool given(double factor) { return factor > 0.0 && factor < 100.0; }

double parsed(const char* text) {
    if (!text || !*text) return 0.0;
    char* end = nullptr;
    const double factor = std::strtod(text, &end);
    return end && *end == '\0' ? factor : 0.0;
}
}  // namespace

int32_t chooseScaleStep(double hostFactor, const char* environment, double desktopFactor) {
    for (double factor : {hostFactor, parsed(environment), desktopFactor})
        if (given(factor)) return nearestScaleStep(factor);
    return 100;
}
