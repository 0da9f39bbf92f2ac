#include "editing/RowOffsets.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace qrb {
namespace {

// Random appends, insertions, removals, resizes and batch removals against a plain list of
// lengths.
TEST(RowOffsets, MatchesAPlainListThroughManyEdits) {
    std::mt19937 gen(42);
    RowOffsets rows;
    std::vector<RowOffsets::Length> expected;
    for (int step = 0; step < 4000; ++step) {
        const unsigned op = gen() % 10;
        if (op < 3 || expected.empty()) {
            const RowOffsets::Length len = 100 + gen() % 4000;
            rows.pushBack(len);
            expected.push_back(len);
        } else if (op < 5) {
            const int i = static_cast<int>(gen() % (expected.size() + 1));
            const RowOffsets::Length len = 100 + gen() % 4000;
            rows.insert(i, len);
            expected.insert(expected.begin() + i, len);
        } else if (op < 8) {
            const int i = static_cast<int>(gen() % expected.size());
            rows.erase(i);
            expected.erase(expected.begin() + i);
        } else if (op < 9) {
            const int i = static_cast<int>(gen() % expected.size());
            const RowOffsets::Length len = 100 + gen() % 4000;
            rows.setLength(i, len);
            expected[static_cast<std::size_t>(i)] = len;
        } else {
            std::vector<bool> remove(expected.size());
            std::vector<RowOffsets::Length> kept;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                remove[i] = gen() % 4 == 0;
                if (!remove[i]) {
                    kept.push_back(expected[i]);
                }
            }
            rows.eraseFlagged(remove);
            expected = kept;
        }
        ASSERT_EQ(rows.size(), static_cast<int>(expected.size()));
        if (step % 50 != 0) {
            continue;
        }
        RowOffsets::Length sum = 0;
        for (int i = 0; i < rows.size(); ++i) {
            ASSERT_EQ(rows.offset(i), sum) << "step " << step << " row " << i;
            ASSERT_EQ(rows.length(i), expected[static_cast<std::size_t>(i)]);
            ASSERT_EQ(rows.indexAt(sum), i);
            ASSERT_EQ(rows.indexAt(sum + expected[static_cast<std::size_t>(i)] - 1), i);
            sum += expected[static_cast<std::size_t>(i)];
        }
        ASSERT_EQ(rows.total(), sum);
        ASSERT_EQ(rows.indexAt(sum), -1);
        ASSERT_EQ(rows.indexAt(-1), -1);
    }
}

} // namespace
} // namespace qrb
