#include "host/progress_bar.h"

#include <cstdio>

#include "host/terminal.h"

namespace {

constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kWidth = 40;

}  // namespace

ProgressBar::ProgressBar(size_t total)
    : total_(total), enabled_(total > 0 && stderrIsTerminal()), start_(Clock::now()), lastDraw_(start_) {}

ProgressBar::~ProgressBar() {
    // Leaves the cursor on a fresh line if the work stopped half-way.
    if (drawn_) std::fputc('\n', stderr);
}

void ProgressBar::update(size_t done) {
    if (!enabled_ || shownComplete_) return;
    const auto now = Clock::now();
    if (now - start_ < kQuietStart || (drawn_ && now - lastDraw_ < kRedrawInterval && done < total_)) return;
    lastDraw_ = now;
    drawn_ = true;
    shownComplete_ = done >= total_;
    const double fraction = shownComplete_ ? 1.0 : static_cast<double>(done) / static_cast<double>(total_);
    const int filled = static_cast<int>(fraction * kWidth);
    char bar[kWidth + 1];
    for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '-';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\r[%s] %3d%%", bar, static_cast<int>(fraction * 100.0));
    std::fflush(stderr);
}

void ProgressBar::finish() {
    if (!drawn_) return;
    update(total_);
    std::fputc('\n', stderr);
    drawn_ = false;
}
