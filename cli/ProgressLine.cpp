// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProgressLine.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/terminal_text.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

// Short batches end before the first update, so they show nothing.
constexpr auto UpdateInterval = std::chrono::milliseconds(250);

std::string TwoDigits(long long value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

std::string ProgressText(std::size_t done, std::size_t total, std::chrono::seconds elapsed,
                         std::string_view next) {
    const long long seconds = elapsed.count();
    std::string text = std::to_string(done) + " of " + std::to_string(total) + " files done, " +
                       std::to_string(seconds / 60) + ":" + TwoDigits(seconds % 60) + " elapsed";
    return next.empty() ? text : text + ": " + TerminalText(FileNamePart(std::string(next)));
}

ProgressLine::ProgressLine(std::size_t total, bool shown)
    : total_(total),
      enabled_(shown && isatty(STDERR_FILENO) == 1),
      start_(Clock::now()),
      nextUpdate_(start_ + UpdateInterval) {}

ProgressLine::~ProgressLine() {
    if (shown_) {
        std::fputs("\r\033[K", stderr);
    }
}

void ProgressLine::Advance(std::string_view next) {
    ++done_;
    const Clock::time_point now = Clock::now();
    if (!enabled_ || now < nextUpdate_) {
        return;
    }
    nextUpdate_ = now + UpdateInterval;
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - start_);
    std::fprintf(stderr, "\r%s\033[K", ProgressText(done_, total_, elapsed, next).c_str());
    std::fflush(stderr);
    shown_ = true;
}

}  // namespace tesmera
