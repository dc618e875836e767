// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProgressLine.h"

#include <unistd.h>

#include <cstdio>

namespace tesmera {

namespace {

// Short batches end before the first update, so they show nothing.
constexpr auto UpdateInterval = std::chrono::milliseconds(250);

}  // namespace

ProgressLine::ProgressLine(std::size_t total)
    : total_(total),
      enabled_(isatty(STDERR_FILENO) == 1),
      nextUpdate_(Clock::now() + UpdateInterval) {}

ProgressLine::~ProgressLine() {
    if (shown_) {
        std::fputs("\r\033[K", stderr);
    }
}

void ProgressLine::Advance() {
    ++done_;
    if (!enabled_ || Clock::now() < nextUpdate_) {
        return;
    }
    nextUpdate_ = Clock::now() + UpdateInterval;
    std::fprintf(stderr, "\r%zu of %zu files analysed\033[K", done_, total_);
    std::fflush(stderr);
    shown_ = true;
}

}  // namespace tesmera
