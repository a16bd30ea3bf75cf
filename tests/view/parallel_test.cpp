// Items shared among threads: every item once, each thread number on one thread at a time,
// errors passed on, and calls from a job or from several threads at once served without waiting
// on each other.

#include "view/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace curvana {
namespace {

// Runs ForEachItem and checks what a caller relies on; returns how often each item was taken.
std::vector<int> Share(std::size_t count, int threads) {
    std::vector<std::atomic<int>> taken(count);
    std::vector<std::atomic<bool>> inUse(static_cast<std::size_t>(std::max(threads, 1)));
    std::atomic<int> badThread{0};
    ForEachItem(count, threads, [&](int thread, std::size_t item) {
        if (thread < 0 || thread >= std::max(threads, 1)) {
            ++badThread;
            return;
        }
        // A job may keep state per thread number: no two threads hold one number at once.
        if (inUse[static_cast<std::size_t>(thread)].exchange(true))
            ++badThread;
        ++taken[item];
        inUse[static_cast<std::size_t>(thread)] = false;
    });
    EXPECT_EQ(badThread, 0);
    return std::vector<int>(taken.begin(), taken.end());
}

TEST(ForEachItem, TakesEveryItemOnce) {
    const struct {
        std::size_t Count;
        int Threads;
    } cases[] = {{0, 2}, {1, 4}, {2, 2}, {5, 3}, {1000, 4}, {37, 1}, {64, 8}, {3, 2}};
    for (int round = 0; round < 50; ++round)
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.Count << " items, " << c.Threads << " threads");
            EXPECT_EQ(Share(c.Count, c.Threads), std::vector<int>(c.Count, 1));
        }
}

TEST(ForEachItem, PassesTheFirstErrorOnAndServesTheNextCall) {
    EXPECT_THROW(ForEachItem(100, 4,
                             [&](int, std::size_t item) {
                                 if (item == 3)
                                     throw std::runtime_error("item 3");
                             }),
                 std::runtime_error);
    EXPECT_EQ(Share(200, 4), std::vector<int>(200, 1));
}

TEST(ForEachItem, ACallFromAJobOrFromAnotherThreadDoesNotWait) {
    // From inside a job, while the helpers are busy with the outer call.
    std::atomic<int> inner{0};
    ForEachItem(8, 2,
                [&](int, std::size_t) { ForEachItem(10, 2, [&](int, std::size_t) { ++inner; }); });
    EXPECT_EQ(inner, 80);

    // From several threads at once.
    std::atomic<int> failures{0};
    std::vector<std::thread> callers;
    for (int t = 0; t < 3; ++t)
        callers.emplace_back([&failures] {
            for (int round = 0; round < 100; ++round)
                if (Share(50, 2) != std::vector<int>(50, 1))
                    ++failures;
        });
    for (std::thread& caller : callers)
        caller.join();
    EXPECT_EQ(failures, 0);
}

} // namespace
} // namespace curvana
