// One line of a host's trace (gui --trace): the plug-in's calls to the host,
// written and flushed at once so that the line is there if the plug-in
// crashes right after.
#pragma once

#include <cstdarg>
#include <cstdio>

inline void writeTraceLine(std::FILE* trace, const char* format, std::va_list args) {
    if (trace == nullptr) return;
    std::vfprintf(trace, format, args);
    std::fputc('\n', trace);
    std::fflush(trace);
}
