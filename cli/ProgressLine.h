// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line progress count on the terminal for every batch command: files
// done of how many, the time since the start and the file the batch waits
// for. It writes to standard error only when that is a terminal and the
// user did not ask for quiet, at most a few times a second, and wipes itself
// when done, so files and pipes never see it.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace tesmera {

class ProgressLine {
  public:
    // `shown` false (--quiet) keeps it silent even on a terminal.
    ProgressLine(std::size_t total, bool shown);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Called after each file; `next` is the file worked on now (empty after
    // the last one).
    void Advance(std::string_view next);

  private:
    using Clock = std::chrono::steady_clock;

    std::size_t total_;
    std::size_t done_ = 0;
    bool enabled_;
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point nextUpdate_;
};

// "3 of 12 files done, 0:05 elapsed: anna_3.wav", without a line end; the
// name is given as the terminal may show it.
std::string ProgressText(std::size_t done, std::size_t total, std::chrono::seconds elapsed,
                         std::string_view next);

}  // namespace tesmera
