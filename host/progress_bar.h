// A one-line progress bar on stderr for renders that take a while. It stays
// silent unless stderr is a terminal and the work has run for half a second,
// so short renders, pipes and logs never see it.
#pragma once

#include <chrono>
#include <cstddef>

class ProgressBar {
public:
    explicit ProgressBar(size_t total);
    ~ProgressBar();

    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void update(size_t done);
    // Completes and ends the line if a bar was drawn.
    void finish();

private:
    using Clock = std::chrono::steady_clock;

    size_t total_;
    bool enabled_;
    bool drawn_ = false;
    bool shownComplete_ = false;
    Clock::time_point start_;
    Clock::time_point lastDraw_;
};
