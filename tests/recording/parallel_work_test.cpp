// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/parallel_work.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/param_name.h"

namespace tesmera {
namespace {

struct SpreadCase : test::NamedCase<SpreadCase> {
    std::size_t count;
    unsigned threads;
    std::vector<std::size_t> failing;  // tasks that throw, named by their index
};

class SpreadWork : public ::testing::TestWithParam<SpreadCase> {};

// Every task runs exactly once; a failure surfaces as the lowest failing
// task's own exception, as a plain loop would give it, and every task
// before that one has run.
TEST_P(SpreadWork, RunsEachTaskOnceAndReportsTheFirstFailure) {
    const SpreadCase& c = GetParam();
    std::vector<std::atomic<int>> runs(c.count);
    const auto task = [&](std::size_t i) {
        ++runs[i];
        if (std::ranges::find(c.failing, i) != c.failing.end()) {
            throw std::runtime_error(std::to_string(i));
        }
    };
    if (c.failing.empty()) {
        RunInParallel(c.count, c.threads, task);
        for (std::size_t i = 0; i < c.count; ++i) {
            EXPECT_EQ(runs[i], 1) << "task " << i;
        }
        return;
    }
    const std::size_t first = std::ranges::min(c.failing);
    try {
        RunInParallel(c.count, c.threads, task);
        FAIL() << "no failure surfaced";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), std::to_string(first));
    }
    for (std::size_t i = 0; i < c.count; ++i) {
        EXPECT_LE(runs[i], 1) << "task " << i;
        if (i <= first) {
            EXPECT_EQ(runs[i], 1) << "task " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpreadWork,
    ::testing::Values(SpreadCase{"NothingToDo", 0, 4, {}},
                      SpreadCase{"ZeroThreadsRunOnTheCaller", 5, 0, {}},
                      SpreadCase{"FewerTasksThanThreads", 2, 8, {}},
                      SpreadCase{"ManyTasksOnThreeThreads", 1000, 3, {}},
                      SpreadCase{"OneFailureAlone", 1, 2, {0}},
                      SpreadCase{"LastOfManyFails", 200, 4, {199}},
                      SpreadCase{"LowestOfSeveralFailuresWins", 300, 4, {250, 17, 90}},
                      SpreadCase{"FailureOnOneThread", 50, 1, {30, 10}}),
    test::CaseName());

// Runs cover every item exactly once, in pieces of the run length with a
// shorter last one.
TEST(SpreadRuns, CoverEveryItemOnceInRunsOfTheGivenLength) {
    for (const auto& [count, run] :
         {std::pair<std::size_t, std::size_t>{0, 4}, {3, 4}, {8, 4}, {1001, 64}, {5, 1}}) {
        std::vector<int> seen(count, 0);
        std::vector<std::size_t> lengths((count + run - 1) / run, 0);
        RunInParallelRuns(count, run, 3, [&](std::size_t first, std::size_t end) {
            lengths[first / run] = end - first;
            for (std::size_t i = first; i < end; ++i) {
                ++seen[i];
            }
        });
        EXPECT_EQ(std::ranges::count(seen, 1), static_cast<std::ptrdiff_t>(count))
            << count << " items in runs of " << run;
        for (std::size_t r = 0; r < lengths.size(); ++r) {
            EXPECT_EQ(lengths[r], std::min(run, count - r * run)) << "run " << r;
        }
    }
}

// Rounds may nest (a task spreading work of its own) and overlap (several
// threads spreading work at once); every task still runs once.
TEST(SpreadWork, NestedAndOverlappingRoundsRunEveryTaskOnce) {
    constexpr std::size_t Callers = 2;
    constexpr std::size_t Outer = 4;
    constexpr std::size_t Inner = 50;
    std::vector<std::atomic<int>> runs(Callers * Outer * Inner);
    {
        std::vector<std::jthread> callers;
        for (std::size_t c = 0; c < Callers; ++c) {
            callers.emplace_back([&, c] {
                RunInParallel(Outer, 3, [&](std::size_t o) {
                    RunInParallel(Inner, 3,
                                  [&](std::size_t i) { ++runs[(c * Outer + o) * Inner + i]; });
                });
            });
        }
    }  // the callers join here
    for (std::size_t t = 0; t < runs.size(); ++t) {
        EXPECT_EQ(runs[t], 1) << "task " << t;
    }
}

TEST(AvailableCores, AreAtLeastOne) {
    EXPECT_GE(AvailableCores(), 1U);
}

}  // namespace
}  // namespace tesmera
