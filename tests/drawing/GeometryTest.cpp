// The plane geometry the drawer, the picture extent and both surfaces' clipping share.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/Geometry.h"

namespace cuttrace {
namespace {

TEST(Geometry, SegmentIntersectionIsExactOnTheFirstSegment) {
    constexpr int64_t far = kGridLimit;
    struct Case {
        GridPoint a, b, c, d;
        bool meet;
        GridPoint at;
    };
    const Case cases[] = {
        {{0, 0}, {10, 10}, {0, 10}, {10, 0}, true, {5, 5}},
        {{-5, 3}, {0, 3}, {0, 0}, {0, 8}, true, {0, 3}},    // an end touching the other segment
        {{0, 0}, {10, 0}, {0, 1}, {10, 1}, false, {}},      // parallel
        {{0, 0}, {10, 0}, {20, 0}, {30, 0}, false, {}},     // collinear
        {{0, 0}, {4, 4}, {5, 0}, {5, 10}, false, {}},       // short of it
        {{0, 0}, {10, 3}, {-5, 1}, {20, 1}, true, {3, 1}},  // x = 10/3, truncated
        {{0, 0}, {-10, -3}, {5, -1}, {-20, -1}, true, {-3, -1}},  // truncated toward zero
        // Far ends: the products need more than 64 bits, the crossing is still exact.
        {{-far, -far}, {far, far}, {0, 10}, {20, 10}, true, {10, 10}},
        {{100, 100}, {100 + 2 * (far / 4), 100 + far / 4}, {398, 0}, {398, 298}, true, {398, 249}},
        {{-far, 7}, {far, 8}, {0, 0}, {0, 100}, true, {0, 7}},  // 7.5, truncated
    };
    for (const Case& c : cases) {
        GridPoint at{-1, -1};
        EXPECT_EQ(SegmentIntersection(&at, c.a, c.b, c.c, c.d), c.meet) << c.a.x << "," << c.a.y;
        if (c.meet) {
            EXPECT_EQ(at, c.at) << c.a.x << "," << c.a.y;
        }
    }
}

TEST(Geometry, OffsetAnglesAndTheSamePoint) {
    EXPECT_EQ(OffsetAngle(0, 1), 90.0);
    EXPECT_EQ(OffsetAngle(0, -1), -90.0);
    EXPECT_EQ(OffsetAngle(0, 0), 90.0);
    EXPECT_DOUBLE_EQ(OffsetAngle(-1, 0), 180.0);
    EXPECT_DOUBLE_EQ(OffsetAngle(-1, -1), 225.0);
    EXPECT_DOUBLE_EQ(OffsetAngle(1, -1), -45.0);
    EXPECT_TRUE(SamePoint({1, 2, 3}, {1 + 0.9e-8, 2, 3 - 0.9e-8}));
    EXPECT_FALSE(SamePoint({1, 2, 3}, {1, 2 + 1.1e-8, 3}));
    EXPECT_FALSE(SamePoint({NAN, 2, 3}, {NAN, 2, 3}));
}

}  // namespace
}  // namespace cuttrace
