// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line progress count on the terminal for long batches. It writes to
// standard error only when that is a terminal, at most a few times a
// second, and wipes itself when done, so files and pipes never see it.
#pragma once

#include <chrono>
#include <cstddef>

namespace tesmera {

class ProgressLine {
  public:
    explicit ProgressLine(std::size_t total);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Called after each file.
    void Advance();

  private:
    using Clock = std::chrono::steady_clock;

    std::size_t total_;
    std::size_t done_ = 0;
    bool enabled_;
    bool shown_ = false;
    Clock::time_point nextUpdate_;
};

}  // namespace tesmera
