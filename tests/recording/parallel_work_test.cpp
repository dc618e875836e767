// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/parallel_work.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
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

TEST(AvailableCores, AreAtLeastOne) {
    EXPECT_GE(AvailableCores(), 1U);
}

}  // namespace
}  // namespace tesmera
