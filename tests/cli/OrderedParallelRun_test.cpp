// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/OrderedParallelRun.h"
#include "support/param_name.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// Items whose work takes uneven time, so threads finish out of order.
void UnevenDelay(std::size_t i) {
    if (i % 7 == 3) {
        std::this_thread::sleep_for(std::chrono::microseconds(200 + 50 * (i % 5)));
    }
}

struct RunCase : test::NamedCase<RunCase> {
    std::size_t count;
    unsigned jobs;
};

class OrderedRuns : public ::testing::TestWithParam<RunCase> {};

TEST_P(OrderedRuns, UseEveryResultOnceInItemOrderWithinTheWindow) {
    const RunCase& run = GetParam();
    std::atomic<std::size_t> started{0};
    std::atomic<std::size_t> used{0};
    std::atomic<std::size_t> mostInFlight{0};
    std::atomic<int> workObjects{0};
    std::atomic<int> sharedWorkObjects{0};
    const auto work = [&](std::size_t i) {
        const std::size_t inFlight = ++started - used.load();
        std::size_t most = mostInFlight.load();
        while (inFlight > most && !mostInFlight.compare_exchange_weak(most, inFlight)) {
        }
        UnevenDelay(i);
        return i * i;
    };
    // Each work object remembers the thread it first ran on: a thread's
    // buffers must never be used by another.
    OrderedParallelRun<std::size_t> parallel(run.jobs, [&] {
        ++workObjects;
        return [&, owner = std::make_shared<std::thread::id>()](std::size_t i) {
            if (*owner == std::thread::id()) {
                *owner = std::this_thread::get_id();
            } else if (*owner != std::this_thread::get_id()) {
                ++sharedWorkObjects;
            }
            return work(i);
        };
    });
    std::vector<std::size_t> results;
    parallel.Run(run.count, [&](std::size_t&& result) {
        results.push_back(result);
        ++used;
    });

    ASSERT_EQ(results.size(), run.count);
    for (std::size_t i = 0; i < run.count; ++i) {
        ASSERT_EQ(results[i], i * i) << "item " << i;
    }
    const std::size_t window = OrderedParallelRun<std::size_t>::InFlightPerJob * run.jobs;
    EXPECT_LE(mostInFlight.load(), window + 1);  // +1: the result being used
    EXPECT_EQ(sharedWorkObjects.load(), 0);
    // One per thread that made items, and no more threads than jobs.
    if (run.jobs == 1 || run.count < 2) {
        EXPECT_EQ(workObjects.load(), 1);
    } else {
        EXPECT_GE(workObjects.load(), 1);
        EXPECT_LE(workObjects.load(), static_cast<int>(run.jobs));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, OrderedRuns,
    ::testing::Values(RunCase{"NoItemsOneJob", 0, 1}, RunCase{"NoItemsFourJobs", 0, 4},
                      RunCase{"OneItemFourJobs", 1, 4}, RunCase{"TwoItemsSixteenJobs", 2, 16},
                      RunCase{"ManyItemsOneJob", 3000, 1}, RunCase{"ManyItemsTwoJobs", 3000, 2},
                      RunCase{"ManyItemsFourJobs", 3000, 4},
                      RunCase{"ManyItemsSixteenJobs", 3000, 16}),
    test::CaseName());

struct Failure : test::NamedCase<Failure> {
    unsigned jobs;
    bool inWork;  // else in use
    std::size_t item;
};

class FailedRuns : public ::testing::TestWithParam<Failure> {};

TEST_P(FailedRuns, ReachTheCallerAfterEveryEarlierResultAndStopTheThreads) {
    const Failure& failure = GetParam();
    constexpr std::size_t Count = 2000;
    std::atomic<std::size_t> made{0};
    OrderedParallelRun<std::size_t> parallel(failure.jobs, [&] {
        return [&](std::size_t i) {
            ++made;
            UnevenDelay(i);
            if (failure.inWork && i == failure.item) {
                throw std::runtime_error("work failed");
            }
            return i;
        };
    });
    std::vector<std::size_t> results;
    const auto use = [&](std::size_t&& result) {
        if (!failure.inWork && result == failure.item) {
            throw std::runtime_error("use failed");
        }
        results.push_back(result);
    };

    EXPECT_THROW(parallel.Run(Count, use), std::runtime_error);
    ASSERT_EQ(results.size(), failure.item);
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i], i);
    }
    // The window keeps the threads from running on past the failure.
    const std::size_t window = OrderedParallelRun<std::size_t>::InFlightPerJob * failure.jobs;
    EXPECT_LE(made.load(), failure.item + 1 + window);
}

INSTANTIATE_TEST_SUITE_P(Throws, FailedRuns,
                         ::testing::Values(Failure{"WorkOfTheFirstItemOneJob", 1, true, 0},
                                           Failure{"WorkOfTheFirstItemFourJobs", 4, true, 0},
                                           Failure{"WorkOfALaterItemFourJobs", 4, true, 777},
                                           Failure{"UseOfTheFirstItemFourJobs", 4, false, 0},
                                           Failure{"UseOfALaterItemOneJob", 1, false, 500},
                                           Failure{"UseOfALaterItemFourJobs", 4, false, 500}),
                         test::CaseName());

}  // namespace
}  // namespace tesmera
