// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/parallel_work.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tesmera {

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
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(workers - 1);
        for (std::size_t t = 1; t < workers; ++t) {
            helpers.emplace_back(work);
        }
        work();
    }  // the helpers join here
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
