// The cut picture's PNG files decode (here through Qt) to exactly the pixels written: flat
// areas, gradients and noise, so that every row filter, literals and long and short matches
// are taken.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <cstdint>
#include <random>

#include "cutting/CutPicture.h"

namespace cuttrace {
namespace {

TEST(CutPicturePng, DecodesToThePixelsWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::mt19937 random(5);
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{301, 97}}) {
        cutting::RgbPicture picture;
        picture.width = width, picture.height = height;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint32_t band = static_cast<uint32_t>(x / 50 + y / 30) % 3;
                const uint32_t pixel = band == 0 ? 0xFFFFFFu
                                       : band == 1
                                           ? static_cast<uint32_t>(x * 0x010203 + y * 0x030100)
                                           : random() & 0xFFFFFFu;
                picture.pixels.push_back(pixel & 0xFFFFFFu);
            }
        }
        const QString path = dir.filePath(QStringLiteral("p%1.png").arg(width));
        ASSERT_TRUE(cutting::WritePng(picture, path.toStdString()));
        const QImage image(path);
        ASSERT_EQ(image.size(), QSize(width, height)) << width;
        int differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                differing += (image.pixel(x, y) & 0xFFFFFFu) != picture.At(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << width << " x " << height;
    }
}

}  // namespace
}  // namespace cuttrace
