// A fitted picture drawn at the end of a run on two threads, each part into a layer of its
// own: pixel for pixel the picture of one drawer drawing every motion in turn.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <random>
#include <vector>

#include "drawing/PathDrawer.h"
#include "pictures/PictureMotions.h"
#include "surfaces/ViewPresets.h"

namespace cuttrace {
namespace {

// Short lines, arcs in the three planes, drilling cycles and contour records along a curve
// that crosses itself, now and then a rapid move across to anywhere and back: lines of
// every color cross, yet most of the picture stays white, so a line drawn wrong or in the
// wrong order shows.
std::vector<MotionRecord> MixedMotions(std::size_t count) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> near(-0.3, 0.3);
    std::uniform_real_distribution<double> anywhere(-30.0, 30.0);
    const MotionKind kinds[] = {KindFeed,      KindFeed,        KindArcCwXY,
                                KindArcCcwXY,  KindArcCwZX,     KindArcCcwYZ,
                                CycleKind(81), KindContourLine, KindContourArcCw};
    std::vector<MotionRecord> motions;
    MotionRecord m;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = 6.283185307179586 * static_cast<double>(i) / static_cast<double>(count);
        const bool across = rng() % 400 == 0;
        m.kind = across ? KindRapid : kinds[rng() % std::size(kinds)];
        m.x = across ? anywhere(rng) : 30 * std::sin(3 * t) + near(rng);
        m.y = across ? anywhere(rng) : 30 * std::sin(4 * t) + near(rng);
        m.z = m.kind == CycleKind(81) ? -1.0 : near(rng);
        // Arc centres near the end, on the plane's axes (ZX: z, x; YZ: y, z).
        const bool zx = m.kind == KindArcCwZX;
        const bool yz = m.kind == KindArcCcwYZ;
        m.centreFirst = (zx ? m.z : yz ? m.y : m.x) + near(rng);
        m.centreSecond = (zx ? m.x : yz ? m.z : m.y) + near(rng);
        if (m.kind == CycleKind(81)) m.SetRetractLevel(0.5);
        motions.push_back(m);
    }
    return motions;
}

TEST(PictureMotions, TwoThreadsDrawThePictureOfOneDrawer) {
    // Several blocks, most of them in the temporary file; the same in a picture too large
    // for a second layer (one thread); a single block.
    const struct {
        std::size_t count;
        int width, height;
    } cases[] = {{120000, 320, 240}, {120000, 1100, 1000}, {500, 320, 240}};
    for (const auto& c : cases) {
        const std::size_t count = c.count;
        const std::vector<MotionRecord> motions = MixedMotions(count);
        const Settings settings;
        ImageOptions options;
        options.width = c.width;
        options.height = c.height;
        options.view = ViewPreset::Oblique;

        PictureMotions kept(settings, ViewPresetRotation(options.view), MotionLog::kBlockBytes);
        MotionExtent extent(ViewPresetRotation(options.view), settings.cutterDiameter);
        for (const MotionRecord& motion : motions) {
            kept.Add(motion);
            extent.Add(motion);
        }
        kept.Finish();
        ASSERT_EQ(kept.Count(), count);

        PathImageRenderer serial(options);
        serial.FitTo(extent.Bounds());
        PathDrawer drawer(serial, settings);
        drawer.SetQuick(true);
        drawer.SetDrawRapids(true);
        drawer.DrawOrigin(serial.Scale());
        for (const MotionRecord& motion : motions)
            drawer.BeginMotion(motion);

        PathImageRenderer parts(options);
        parts.FitTo(kept.Bounds());
        PathDrawer origin(parts, settings);
        origin.DrawOrigin(parts.Scale());
        QImage drawn;
        ASSERT_TRUE(kept.DrawInto(parts, &drawn));
        EXPECT_TRUE(drawn == serial.Image()) << count << " motions, " << c.width << " wide";
    }
}

}  // namespace
}  // namespace cuttrace
