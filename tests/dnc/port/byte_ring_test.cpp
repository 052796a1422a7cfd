#include "dnc/port/byte_ring.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace zantor {
namespace {

// Pushes, peeks, drops and pops of varied sizes against a plain queue, so
// that every way a run can wrap round the end of the storage comes up.
TEST(ByteRingTest, KeepsOrderAcrossTheEndOfItsStorage) {
    ByteRing ring(7);
    std::deque<uint8_t> model;
    uint8_t next = 0;
    const size_t pushSizes[] = {3, 5, 1, 7, 2, 6, 4, 0};
    const size_t takeSizes[] = {2, 4, 1, 6, 3, 0, 5, 7};
    for (int round = 0; round < 40; ++round) {
        const size_t count = pushSizes[round % 8];
        std::vector<uint8_t> bytes(count);
        for (uint8_t& b : bytes) b = next++;
        const bool fits = count <= ring.free();
        ASSERT_EQ(ring.push(bytes.data(), bytes.size()), fits) << "round " << round;
        if (fits) model.insert(model.end(), bytes.begin(), bytes.end());
        ASSERT_EQ(ring.size(), model.size());

        std::vector<uint8_t> front(takeSizes[round % 8]);
        const size_t seen = ring.peek(front.data(), front.size());
        ASSERT_EQ(seen, std::min(front.size(), model.size()));
        for (size_t i = 0; i < seen; ++i) ASSERT_EQ(front[i], model[i]) << "round " << round;
        if (round % 3 == 0 && !model.empty()) {
            ASSERT_EQ(ring.pop(), model.front());
            model.pop_front();
        } else {
            ring.drop(seen);
            model.erase(model.begin(), model.begin() + std::ptrdiff_t(seen));
        }
        ASSERT_EQ(ring.size(), model.size());
    }
}

TEST(ByteRingTest, RefusesWhatDoesNotFitWhole) {
    ByteRing ring(4);
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    EXPECT_FALSE(ring.push(bytes, 5));
    EXPECT_TRUE(ring.empty());
    EXPECT_TRUE(ring.push(bytes, 3));
    EXPECT_FALSE(ring.push(bytes, 2));
    EXPECT_EQ(ring.size(), 3u);
    EXPECT_TRUE(ring.push(bytes + 4, 1));
    uint8_t out[4] = {};
    EXPECT_EQ(ring.peek(out, 4), 4u);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{1, 2, 3, 5}));
}

}  // namespace
}  // namespace zantor
