// The packed motions a fitted picture is drawn from at the end of a run.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "pictures/MotionLog.h"

namespace cuttrace {
namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

void ExpectSameMotions(const std::vector<MotionRecord>& added, const MotionLog& log) {
    ASSERT_EQ(log.Count(), added.size());
    std::size_t i = 0;
    const bool read = log.ForEach([&](const MotionRecord& m) {
        ASSERT_LT(i, added.size());
        const MotionRecord& e = added[i];
        EXPECT_TRUE(SameBits(m.x, e.x) && SameBits(m.y, e.y) && SameBits(m.z, e.z) &&
                    SameBits(m.centreFirst, e.centreFirst) &&
                    SameBits(m.centreSecond, e.centreSecond) && m.kind == e.kind)
            << "motion " << i;
        ++i;
    });
    EXPECT_TRUE(read);
    EXPECT_EQ(i, added.size());
}

TEST(MotionLog, SignedZerosNaNsAndRepeatsComeBackBitForBit) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double otherNan = std::bit_cast<double>(std::bit_cast<uint64_t>(nan) | 0x1234u);
    const std::vector<MotionRecord> added = {
        {0, 0, 0, 0, 0, KindRapid},               // all as the start: nothing stored but the mark
        {-0.0, 0, 0, 0, 0, KindRapid},            // differs from 0 only in its sign
        {-0.0, 5, 0, 0, 0, KindFeed},             // a repeated X, a new kind
        {1, 2, 3, -0.0, 7, KindArcCwXY},          // centre with a negative zero
        {1, 2, 3, -0.0, 7, KindArcCwXY},          // the same motion twice
        {nan, 2, otherNan, 0, 0, CycleKind(81)},  // two NaNs with different payloads
        {nan, 2, otherNan, 0, 0, CycleKind(81)},
        {0, 0, 0, 0, 0, KindRapid},  // back to zeros
    };
    MotionLog log;
    for (const MotionRecord& m : added)
        log.Add(m);
    ExpectSameMotions(added, log);
}

TEST(MotionLog, ManyMotionsSpanSeveralBlocks) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> coordinate(-500.0, 500.0);
    std::vector<MotionRecord> added;
    MotionRecord m;
    for (int i = 0; i < 250000; ++i) {  // several blocks
        if (rng() % 2) m.x = coordinate(rng);
        if (rng() % 2) m.y = coordinate(rng);
        if (rng() % 3 == 0) m.z = coordinate(rng);
        const bool arc = rng() % 4 == 0;
        m.kind = arc ? KindArcCcwXY : KindFeed;
        m.centreFirst = arc ? coordinate(rng) : 0.0;
        m.centreSecond = arc ? coordinate(rng) : 0.0;
        added.push_back(m);
    }
    // Also with a memory bound of two blocks: the rest goes to the temporary file and comes
    // back in order, and motions added after a reading come after it.
    for (const std::size_t bound : {std::size_t{0}, 2 * MotionLog::kBlockBytes}) {
        MotionLog log;
        log.SetMemoryBound(bound);
        for (std::size_t i = 0; i + 1000 < added.size(); ++i)
            log.Add(added[i]);
        log.ForEach([](const MotionRecord&) {});
        for (std::size_t i = added.size() - 1000; i < added.size(); ++i)
            log.Add(added[i]);
        ExpectSameMotions(added, log);
        if (bound > 0) {
            EXPECT_EQ(log.MemoryBytes(), bound);
        }
        // Each block reads back on its own, in memory or from the file, also out of order.
        ASSERT_GE(log.Blocks(), 4u);
        ASSERT_TRUE(log.Flush());
        std::vector<std::vector<MotionRecord>> blocks(log.Blocks());
        for (std::size_t b = log.Blocks(); b-- > 0;) {
            EXPECT_TRUE(
                log.ForEachIn(b, b + 1, [&](const MotionRecord& m) { blocks[b].push_back(m); }));
        }
        std::vector<MotionRecord> joined;
        for (const auto& block : blocks)
            joined.insert(joined.end(), block.begin(), block.end());
        EXPECT_TRUE(joined == added);
    }
    MotionLog empty;
    int visits = 0;
    empty.ForEach([&](const MotionRecord&) { ++visits; });
    EXPECT_EQ(visits, 0);
}

}  // namespace
}  // namespace cuttrace
