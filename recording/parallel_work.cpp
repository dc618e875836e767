// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/parallel_work.h"

#include <oneapi/tbb/blocked_range.h>
#include <oneapi/tbb/info.h>
#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/task_arena.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "recording/ThreadSanitizerEdge.h"

namespace tesmera {

namespace {

// One arena per thread count, kept for the program's life: a recording's
// work comes in many short rounds, and an arena made for each would cost
// more than some of them. Arenas may be entered by several threads at once
// and from inside one another. More threads than the library has for the
// machine are not asked for: it would refuse them with a warning on the
// standard error.
tbb::task_arena& ArenaOf(unsigned threads) {
    const int usable = std::min(static_cast<int>(threads), tbb::info::default_concurrency());
    static std::mutex lock;
    static std::map<int, std::unique_ptr<tbb::task_arena>> arenas;
    const std::lock_guard guard(lock);
    auto& arena = arenas[usable];
    if (!arena) {
        arena = std::make_unique<tbb::task_arena>(usable);
    }
    return *arena;
}

// The exception of the lowest-numbered task that threw. A task above it is
// no longer worth starting; every task below it still runs, so the failure
// kept is the one a plain loop would have met first.
class LowestFailure {
  public:
    explicit LowestFailure(std::size_t count) : first_(count) {}

    bool Skips(std::size_t task) const { return task > first_.load(std::memory_order_relaxed); }

    void Keep(std::size_t task, std::exception_ptr error) {
        const std::lock_guard guard(lock_);
        if (task < first_) {
            first_ = task;
            error_ = std::move(error);
        }
    }

    void RethrowIfAny() const {
        if (error_) {
            std::rethrow_exception(error_);
        }
    }

  private:
    std::mutex lock_;
    std::atomic<std::size_t> first_;
    std::exception_ptr error_;
};

}  // namespace

unsigned AvailableCores() {
    return std::max(1U, std::thread::hardware_concurrency());
}

void InArenaOf(unsigned threads, const std::function<void()>& work) {
    // A caller that finds no free place in the arena hands `work` to one of
    // its threads (see ThreadSanitizerEdge.h).
    ThreadSanitizerEdge handed;
    ThreadSanitizerEdge done;
    const ThreadSanitizerArriveOnExit doneSeen(done);
    handed.Leave();
    ArenaOf(std::max(1U, threads)).execute([&] {
        handed.Arrive();
        const ThreadSanitizerLeaveOnExit leave(done);
        work();
    });
}

void RunInParallel(std::size_t count, unsigned threads,
                   const std::function<void(std::size_t)>& task) {
    const std::size_t workers = std::min<std::size_t>(std::max(1U, threads), count);
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            task(i);
        }
        return;
    }
    LowestFailure failure(count);
    ThreadSanitizerEdge start;
    ThreadSanitizerEdge finish;
    start.Leave();
    InArenaOf(static_cast<unsigned>(workers), [&] {
        // Tasks one at a time: each is a sizeable piece of work, and the
        // scheduler splits a range of them as threads fall idle.
        tbb::parallel_for(tbb::blocked_range<std::size_t>(0, count, 1),
                          [&](const tbb::blocked_range<std::size_t>& tasks) {
                              start.Arrive();
                              for (std::size_t i = tasks.begin(); i != tasks.end(); ++i) {
                                  if (failure.Skips(i)) {
                                      continue;
                                  }
                                  try {
                                      task(i);
                                  } catch (...) {
                                      failure.Keep(i, std::current_exception());
                                  }
                              }
                              finish.Leave();
                          });
    });
    finish.Arrive();
    failure.RethrowIfAny();
}

void RunInParallelRuns(std::size_t count, std::size_t run, unsigned threads,
                       const std::function<void(std::size_t first, std::size_t end)>& work) {
    RunInParallel((count + run - 1) / run, threads,
                  [&](std::size_t task) { work(task * run, std::min(count, (task + 1) * run)); });
}

}  // namespace tesmera
