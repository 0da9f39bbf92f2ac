// Ordered work from several threads: results in the order added, whatever order they finish
// in; the first failure in order is the one thrown; no more jobs in hand than the window; a
// stop leaves the jobs not started unrun.

#include "core/OrderedWork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qrb {
namespace {

// Work that takes longer for some jobs than for the ones after them.
int uneven(int k) {
    volatile int sum = 0;
    for (int i = 0; i < (k % 7) * 2000; ++i)
        sum = sum + i;
    return k;
}

TEST(OrderedWork, ResultsComeInTheOrderAddedWithinTheWindow) {
    for (const int threads : {1, 2, 4, 8}) {
        constexpr std::size_t kWindow = 12;
        OrderedWork<int> work(threads, kWindow, {}, 4);
        std::atomic<int> inHand = 0;
        std::atomic<int> most = 0;
        std::vector<int> taken;
        const auto take = [&](int k) {
            taken.push_back(k);
            --inHand;
        };
        for (int k = 0; k < 1000; ++k) {
            work.add(
                [k, &inHand, &most](std::stop_token) {
                    const int now = ++inHand;
                    for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
                    }
                    return uneven(k);
                },
                take);
        }
        work.finish(take);
        ASSERT_EQ(taken.size(), 1000u) << threads;
        for (int k = 0; k < 1000; ++k)
            ASSERT_EQ(taken[std::size_t(k)], k) << threads << " threads";
        EXPECT_LE(most, int(kWindow)) << threads << " threads";
        if (threads == 1) {
            EXPECT_EQ(most, 1) << "one thread runs the jobs one at a time, as a loop";
        }
    }
}

TEST(OrderedWork, TheFirstFailureInOrderIsThrownAfterTheResultsBeforeIt) {
    for (const int threads : {1, 3}) {
        OrderedWork<int> work(threads, 64, {}, 8);
        std::vector<int> taken;
        const auto take = [&](int k) { taken.push_back(k); };
        try {
            work.run(
                [&] {
                    for (int k = 1; k <= 1000; ++k) {
                        work.add(
                            [k](std::stop_token) {
                                // Row 950 fails at once, row 900 only after some work.
                                if (k == 950)
                                    throw std::runtime_error("row 950");
                                if (k == 900 && uneven(6) == 6)
                                    throw std::runtime_error("row 900");
                                return k;
                            },
                            take);
                    }
                },
                take);
            ADD_FAILURE() << "no failure";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "row 900") << threads << " threads";
        }
        ASSERT_EQ(taken.size(), 899u) << threads << " threads";
        EXPECT_EQ(taken.back(), 899);
    }
}

TEST(OrderedWork, AFailureWhileAddingComesAfterTheResultsAddedBeforeOrEndsTakingThem) {
    OrderedWork<int> work(2, 16);
    std::vector<int> taken;
    const auto take = [&](int k) { taken.push_back(k); };
    EXPECT_THROW(work.run(
                     [&] {
                         for (int k = 0; k < 10; ++k)
                             work.add([k](std::stop_token) { return k; }, take);
                         throw std::runtime_error("the table changed");
                     },
                     take),
                 std::runtime_error);
    EXPECT_EQ(taken, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

    // A failure of what takes the results (a file that cannot be written) ends it there.
    OrderedWork<int> writing(2, 16);
    taken.clear();
    const auto failAtFive = [&](int k) {
        taken.push_back(k);
        if (k == 5)
            throw std::runtime_error("disk full");
    };
    EXPECT_THROW(writing.run(
                     [&] {
                         for (int k = 0; k < 100; ++k)
                             writing.add([k](std::stop_token) { return k; }, failAtFive);
                     },
                     failAtFive),
                 std::runtime_error);
    EXPECT_EQ(taken, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(OrderedWork, AStopOrAbandonedWorkLeavesTheJobsNotStartedUnrun) {
    std::atomic<int> ran = 0;
    std::stop_source stop;
    {
        OrderedWork<int> work(4, 8, stop.get_token());
        const auto take = [&](int k) {
            if (k == 100)
                stop.request_stop();
        };
        for (int k = 0; k < 1000 && !stop.stop_requested(); ++k)
            work.add(
                [k, &ran](std::stop_token) {
                    ++ran;
                    return k;
                },
                take);
    }
    EXPECT_LE(ran, 101 + 8);

    // Destroyed with jobs in hand: they see their stop token, and the rest never start.
    std::atomic<int> sawStop = 0;
    ran = 0;
    {
        OrderedWork<int> work(2, 50);
        for (int k = 0; k < 50; ++k)
            work.add([&](std::stop_token token) {
                ++ran;
                while (!token.stop_requested())
                    std::this_thread::yield();
                ++sawStop;
                return 0;
            });
    }
    EXPECT_EQ(sawStop, ran);
    EXPECT_LT(ran, 50);
}

TEST(OrderedWork, TheWindowKeepsThreadsBusyWithinTheMemory) {
    EXPECT_EQ(batchWindow(1, UINT64_MAX, 0, 64), 1u) << "one thread: a loop";
    EXPECT_EQ(batchWindow(4, UINT64_MAX, 0, 8), 64u);
    EXPECT_EQ(batchWindow(4, 10 << 20, 1 << 20, 8), 10u) << "what fits the memory";
    EXPECT_EQ(batchWindow(4, 100, 1 << 20, 8), 1u) << "always one";
    // Large jobs: two a thread, not the whole memory's worth.
    EXPECT_EQ(batchWindow(4, UINT64_MAX, std::uint64_t(64) << 20, 64), 8u);
    EXPECT_GE(batchThreads(), 1);
    EXPECT_EQ(resolvedThreads(0), batchThreads());
    EXPECT_EQ(resolvedThreads(3), 3);
}

} // namespace
} // namespace qrb
