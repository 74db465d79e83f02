// A drawer over a recording view and a settings record of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/MotionRecord.h"
#include "core/Settings.h"
#include "drawing/Geometry.h"
#include "drawing/PathDrawer.h"
#include "drawing/support/RecordingViews.h"

namespace cuttrace::test {

inline constexpr uint32_t kRapid = 0x000001;
inline constexpr uint32_t kFeed = 0x000002;
inline constexpr uint32_t kSpot = 0x000003;
inline constexpr uint32_t kOrg = 0x000004;

inline MotionRecord Motion(int32_t kind, double x, double y, double z, double c1 = 0.0,
                           double c2 = 0.0) {
    MotionRecord r;
    r.kind = static_cast<MotionKind>(kind);
    r.x = x;
    r.y = y;
    r.z = z;
    r.centreFirst = c1;
    r.centreSecond = c2;
    return r;
}

inline std::vector<PathVertex> AllVertices(const VertexList& list) {
    std::vector<PathVertex> out;
    list.ForEach([&out](const Point3& p, uint32_t color) { out.push_back({p, color}); });
    return out;
}

inline bool Near(const Point3& a, const Point3& b, double tolerance = 1e-9) {
    return Distance(a, b) <= tolerance;
}

class DrawerTest : public ::testing::Test {
  protected:
    DrawerTest() {
        settings.rapidColor = kRapid;
        settings.feedColor = kFeed;
        settings.cycleColor = kSpot;
        settings.originColor = kOrg;
        drawer.SetDrawRapids(true);
    }

    // Runs a quick motion, or an animated one in steps of `dt` seconds until it ends
    // (failing after `limit` steps). Returns the number of Advance calls.
    int Draw(const MotionRecord& r, bool quick, double dt = 0.01, int limit = 1000000) {
        drawer.SetQuick(quick);
        drawer.BeginMotion(r);
        int steps = 0;
        while (drawer.Busy() && steps < limit) {
            drawer.Advance(dt);
            ++steps;
        }
        EXPECT_FALSE(drawer.Busy()) << "the animation did not end";
        return steps;
    }

    // Moves the drawer to p with a quick feed line and forgets what was drawn; the
    // drawer is left in animated mode.
    void PlaceAt(const Point3& p) {
        Draw(Motion(KindFeed, p.x, p.y, p.z), true);
        drawer.SetQuick(false);
        drawer.ClearPath();
        views.Clear();
    }

    Settings settings;
    RecordingViews views;
    PathDrawer drawer{views, settings};
};

}  // namespace cuttrace::test
