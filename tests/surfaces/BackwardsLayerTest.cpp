// Lines laid backwards: the last line kept of a chunk, and any line of a chunk laid earlier,
// wins a pixel; Reached agrees with the pixels themselves for any rectangle.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "surfaces/BackwardsLayer.h"

namespace cuttrace {
namespace {

struct Picture {
    std::vector<uint32_t> bits;
    PixelBuffer buffer;
    Picture(int width, int height) : bits(static_cast<std::size_t>(width * height), 0u) {
        buffer = {bits.data(), width, width, height};
    }
    uint32_t At(int x, int y) const {
        return bits[static_cast<std::size_t>(y * buffer.stride + x)];
    }
};

TEST(BackwardsLayer, LaterLinesWinAndReachedAgreesWithThePixels) {
    constexpr uint32_t kFirst = 0xFF000001, kSecond = 0xFF000002, kLater = 0xFF000003;
    {
        BackwardsLayer layer(20, 10);
        layer.Keep({5, 0}, {5, 9}, kLater);  // a chunk laid first: the end of the path
        layer.LayKept();
        layer.Keep({0, 2}, {19, 2}, kFirst);  // the chunk before, in drawing order
        layer.Keep({0, 2}, {9, 2}, kSecond);
        layer.LayKept();
        Picture picture(20, 10);
        layer.PutOnto(picture.buffer);
        EXPECT_EQ(picture.At(5, 2), kLater);
        EXPECT_EQ(picture.At(3, 2), kSecond);
        EXPECT_EQ(picture.At(12, 2), kFirst);
        EXPECT_EQ(picture.At(12, 3), 0u);
    }
    // Random lines, some far off the layer, laid in chunks; after each, rectangles of every
    // kind (inside, across the edges, off the layer) against the pixels.
    std::mt19937 random(7);
    const auto coordinate = [&](int size) {
        std::uniform_int_distribution<int> near(-20, size + 20);
        return random() % 10 == 0 ? static_cast<int>(random() % 200000) - 100000 : near(random);
    };
    constexpr int kWidth = 150, kHeight = 101;
    BackwardsLayer layer(kWidth, kHeight);
    for (int chunk = 0; chunk < 60; ++chunk) {
        for (int i = 0; i < 30; ++i) {
            PixelPoint from{coordinate(kWidth), coordinate(kHeight)};
            PixelPoint to{coordinate(kWidth), coordinate(kHeight)};
            if (random() % 2) {  // short
                to = {from.x + static_cast<int>(random() % 5) - 2,
                      from.y + static_cast<int>(random() % 5) - 2};
            } else if (random() % 2) {  // across, so that whole tiles fill
                from = {-5, from.y};
                to = {kWidth + 5, from.y};
            }
            layer.Keep(from, to, 0xFF000000u | static_cast<uint32_t>(chunk));
        }
        layer.LayKept();
        Picture picture(kWidth, kHeight);
        layer.PutOnto(picture.buffer);
        for (int r = 0; r < 80; ++r) {
            int64_t left = coordinate(kWidth), right = left + static_cast<int>(random() % 70);
            int64_t top = coordinate(kHeight), bottom = top + static_cast<int>(random() % 50);
            bool all = true;
            for (int64_t y = std::max<int64_t>(top, 0); y <= std::min<int64_t>(bottom, kHeight - 1);
                 ++y) {
                for (int64_t x = std::max<int64_t>(left, 0);
                     x <= std::min<int64_t>(right, kWidth - 1); ++x) {
                    all = all && picture.At(static_cast<int>(x), static_cast<int>(y)) != 0;
                }
            }
            ASSERT_EQ(layer.Reached(left, top, right, bottom), all)
                << chunk << ": " << left << "," << top << " " << right << "," << bottom;
        }
    }
}

}  // namespace
}  // namespace cuttrace
