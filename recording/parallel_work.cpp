// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/parallel_work.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace tesmera {

namespace {

// Threads kept from one round of work to the next. A recording's work comes
// in many short rounds; a thread started for each one began its share late
// (its stack and its first allocations cost about a millisecond on a
// virtual machine), leaving the caller to do most of the round alone.
class HelperThreads {
  public:
    HelperThreads() = default;
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;
    ~HelperThreads() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        for (const auto& helper : helpers_) {
            helper->wake.notify_one();
        }
    }  // the helpers join here

    static HelperThreads& Shared() {
        static HelperThreads pool;
        return pool;
    }

    // Runs `work` on the caller and on `helpers` other threads at once, and
    // returns when every run of it has returned. `work` must not throw.
    // Calls may overlap and nest: each round has helpers of its own, and
    // more are started when none are idle.
    void Run(std::size_t helpers, const std::function<void()>& work) {
        Round round{&work, helpers};
        {
            const std::lock_guard lock(mutex_);
            while (idle_.size() < helpers) {
                Start();
            }
            for (std::size_t i = 0; i < helpers; ++i) {
                Helper* helper = idle_.back();
                idle_.pop_back();
                helper->round = &round;
                helper->wake.notify_one();
            }
        }
        work();
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return round.running == 0; });
    }

  private:
    struct Round {
        const std::function<void()>* work;
        std::size_t running;  // helpers still in it
    };
    struct Helper {
        std::condition_variable wake;
        Round* round = nullptr;
        std::jthread thread;  // last, so it joins before the rest goes
    };

    // Under the lock.
    void Start() {
        auto helper = std::make_unique<Helper>();
        Helper& self = *helper;
        helper->thread = std::jthread([this, &self] { Serve(self); });
        idle_.push_back(helper.get());
        helpers_.push_back(std::move(helper));
    }

    void Serve(Helper& self) {
        std::unique_lock lock(mutex_);
        while (true) {
            self.wake.wait(lock, [&] { return self.round != nullptr || stopping_; });
            if (self.round == nullptr) {
                return;
            }
            Round& round = *std::exchange(self.round, nullptr);
            lock.unlock();
            (*round.work)();
            lock.lock();
            idle_.push_back(&self);
            if (--round.running == 0) {
                finished_.notify_all();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable finished_;
    bool stopping_ = false;
    std::vector<Helper*> idle_;
    std::vector<std::unique_ptr<Helper>> helpers_;  // last, so they join first
};

}  // namespace

unsigned AvailableCores() {
    return std::max(1U, std::thread::hardware_concurrency());
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
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex failureLock;
    std::size_t failedTask = count;
    std::exception_ptr failure;
    const auto work = [&] {
        // A task once taken always runs, so every task before a failing
        // one has run and the lowest failure is the serial run's.
        while (!failed) {
            const std::size_t i = next++;
            if (i >= count) {
                return;
            }
            try {
                task(i);
            } catch (...) {
                const std::lock_guard lock(failureLock);
                if (i < failedTask) {
                    failedTask = i;
                    failure = std::current_exception();
                }
                failed = true;
            }
        }
    };
    HelperThreads::Shared().Run(workers - 1, work);
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void RunInParallelRuns(std::size_t count, std::size_t run, unsigned threads,
                       const std::function<void(std::size_t first, std::size_t end)>& work) {
    RunInParallel((count + run - 1) / run, threads,
                  [&](std::size_t task) { work(task * run, std::min(count, (task + 1) * run)); });
}

}  // namespace tesmera
