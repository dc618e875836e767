// SPDX-License-Identifier: GPL-3.0-or-later
#include <stdexcept>
#include <vector>

#include <QCoreApplication>

#include <gtest/gtest.h>

#include "app/CommandQueue.h"

namespace tesmera {
namespace {

TEST(CommandQueue, RunsARequestOnlyAfterTheAskingCodeHasReturned) {
    CommandQueue queue;
    int runs = 0;
    EXPECT_TRUE(queue.Request([&] { ++runs; }));
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(queue.Busy());
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(queue.Busy());
}

TEST(CommandQueue, DropsARequestWhileAnotherWaits) {
    CommandQueue queue;
    std::vector<int> order;
    EXPECT_TRUE(queue.Request([&] { order.push_back(1); }));
    EXPECT_FALSE(queue.Request([&] { order.push_back(2); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(order, std::vector<int>{1});
}

// A modal dialog spins the event loop inside a command; a request that
// arrives then (an assistive tool pressing a button) must not start a second
// command in the middle of the first.
TEST(CommandQueue, DropsARequestWhileACommandRunsItsOwnEventLoop) {
    CommandQueue queue;
    std::vector<int> order;
    bool nestedTaken = true;
    queue.Request([&] {
        order.push_back(1);
        nestedTaken = queue.Request([&] { order.push_back(2); });
        QCoreApplication::processEvents();
        order.push_back(3);
    });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(nestedTaken);
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
}

TEST(CommandQueue, TakesRequestsAgainOnceACommandHasReturned) {
    CommandQueue queue;
    int runs = 0;
    queue.Request([&] { ++runs; });
    QCoreApplication::processEvents();
    EXPECT_TRUE(queue.Request([&] { ++runs; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace tesmera
