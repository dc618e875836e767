// SPDX-License-Identifier: GPL-3.0-or-later
// A FIFO named like a voice file, and a watchdog that frees a reader stuck
// on it: a regression makes the test fail instead of hanging the suite.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempFolder.h"

namespace tesmera::test {

// A FIFO `name` in a folder of its own.
class FifoFile {
  public:
    explicit FifoFile(const std::string& name = "x.wav")
        : path_((folder_.Path() / name).string()), made_(::mkfifo(path_.c_str(), 0600) == 0) {}
    const std::string& Path() const { return path_; }
    bool Made() const { return made_; }

  private:
    TempFolder folder_;
    std::string path_;
    bool made_;
};

// Runs `action`; should it still run after `patience`, the watchdog opens
// the FIFO's other end (and closes it), which ends a blocked open or read.
// Returns true when the watchdog had to step in, i.e. the action blocked.
inline bool BlockedOnFifo(const FifoFile& fifo, const std::function<void()>& action,
                          std::chrono::seconds patience = std::chrono::seconds(20)) {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::atomic<bool> stepped_in = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (done.wait_for(lock, patience, [&] { return finished; })) {
            return;
        }
        stepped_in = true;
        // Opening for writing meets the blocked reader; closing gives it EOF.
        const int end = ::open(fifo.Path().c_str(), O_WRONLY | O_NONBLOCK);
        if (end >= 0) {
            ::close(end);
        }
    });
    action();
    {
        const std::lock_guard lock(mutex);
        finished = true;
    }
    done.notify_one();
    watchdog.join();
    return stepped_in;
}

}  // namespace tesmera::test
