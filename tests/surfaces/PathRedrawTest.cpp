// The redraw on worker threads: its pictures are those a redraw on the surfaces themselves
// gives, pixel for pixel; a cancelled redraw leaves the surfaces alone; a surface resized
// meanwhile keeps its picture.
#include <gtest/gtest.h>

#include <QApplication>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

#include "core/MotionRecord.h"
#include "core/Settings.h"
#include "drawing/PathDrawer.h"
#include "surfaces/PathRedraw.h"
#include "surfaces/Surface3D.h"

namespace cuttrace {
namespace {

// Each call on each surface in turn, one at a time: the reference the batches are held to.
class SurfaceViews final : public PathViews {
  public:
    explicit SurfaceViews(std::vector<Surface3D*> surfaces) : surfaces_(std::move(surfaces)) {}
    void SetColor(uint32_t color) override {
        for (Surface3D* s : surfaces_)
            s->SetPenColor(color);
    }
    void DrawMoveTo(const Point3& p) override {
        for (Surface3D* s : surfaces_)
            s->MoveTo(p);
    }
    void DrawLineTo(const Point3& p) override {
        for (Surface3D* s : surfaces_)
            s->LineTo(p);
    }
    void LineToShowingTool(const Point3& p) override { DrawLineTo(p); }
    void DrawLine(const Point3& a, const Point3& b) override {
        for (Surface3D* s : surfaces_)
            s->Line(a, b);
    }
    void Present() override {}

  private:
    std::vector<Surface3D*> surfaces_;
};

MotionRecord Motion(MotionKind kind, double x, double y, double z, double c1 = 0, double c2 = 0) {
    MotionRecord r;
    r.kind = kind;
    r.x = x;
    r.y = y;
    r.z = z;
    r.centreFirst = c1;
    r.centreSecond = c2;
    return r;
}

// Views of four kinds: whole, zoomed far in (most of the path off the view), turned, and
// shrunk (many points on one pixel).
struct Views {
    std::vector<std::unique_ptr<Surface3D>> surfaces;
    std::vector<Surface3D*> pointers;

    Views() {
        const double scales[] = {1.0, 9.0, 1.5, 0.05};
        for (int i = 0; i < 4; ++i) {
            auto surface = std::make_unique<Surface3D>();
            surface->resize(150 + 10 * i, 110);
            surface->SetBuffered(true);
            surface->ResetView();
            surface->SetScale(scales[i]);
            surface->SetRotation({i == 2 ? -45.0 : 0.0, i == 2 ? 32.0 : 0.0, i == 2 ? 28.0 : 0.0});
            surface->SetPenColor(0x00FF00);
            surface->MoveTo({0, 0, 0});
            pointers.push_back(surface.get());
            surfaces.push_back(std::move(surface));
        }
    }
    QImage Picture(int i) { return surfaces[static_cast<std::size_t>(i)]->TargetCanvas().Image(); }
};

// Counts what a replay does with views that draw backwards.
class BackwardsProbe final : public NoViews {
  public:
    int laid = 0;
    bool ended = false;
    bool Backwards() const override { return !ended; }
    void LayUnder() override { ++laid; }
    void EndBackwards() override { ended = true; }
};

// A dense path of several chunks, in two colors over each other: lines, small and large
// arcs (some one after another), rapids, a drilling cycle.
void DrawPath(PathDrawer& drawer) {
    drawer.SetQuick(true);
    drawer.SetDrawRapids(true);
    for (int i = 0; i < 1500; ++i) {
        const double t = i * 0.23;
        const double x = 70.0 * std::sin(t) * std::cos(t * 0.07);
        const double y = 50.0 * std::cos(t * 1.1);
        drawer.BeginMotion(Motion(i % 17 == 0 ? KindRapid : KindFeed, x, y, std::sin(t)));
        drawer.BeginMotion(Motion(i % 2 ? KindArcCwXY : KindArcCcwXY, x + 0.4, y, 0.0, x + 0.2,
                                  y + (i % 5) * 3.0));
        if (i % 3 == 0) {
            drawer.BeginMotion(Motion(KindArcCcwXY, x + 0.4, y + 2.0, 0.5, x + 0.4, y + 1.0));
        }
        if (i == 200) drawer.BeginMotion(Motion(static_cast<MotionKind>(81), 5, 5, -4.5, -1));
    }
}

TEST(PathRedraw, WorkersDrawThePixelsOfARedrawOnTheSurfaces) {
    Settings settings;
    NoViews none;
    PathDrawer drawer(none, settings);
    DrawPath(drawer);
    ASSERT_GT(drawer.Vertices().Count(), 5000u);
    BackwardsProbe probe;  // the workers draw backwards, chunk by chunk
    drawer.Redraw(probe, {});
    EXPECT_GT(probe.laid, 2);
    EXPECT_TRUE(probe.ended);
    // The run itself, drawn on surfaces: the pictures every redraw below is held to.
    Views run;
    SurfaceViews runViews(run.pointers);
    PathDrawer runDrawer(runViews, settings);
    DrawPath(runDrawer);

    // Without and with the index of where each group begins (the redraw then reads only
    // the groups it needs).
    for (int count : {4, 3, 1, -4}) {
        if (count < 0) {
            drawer.Vertices().PrepareForPicking(SIZE_MAX);
            count = -count;
        }
        Views direct;
        SurfaceViews serial(
            std::vector<Surface3D*>(direct.pointers.begin(), direct.pointers.begin() + count));
        drawer.Redraw(serial, {});
        Views threaded;
        PathRedraw redraw;
        bool finished = false;
        redraw.Start(
            threaded.pointers.data(), count,
            [&](PathViews& views, const VertexList::BoxFilter& filter) {
                drawer.Redraw(views, filter);
            },
            [&] { finished = true; });
        EXPECT_TRUE(redraw.Active());
        EXPECT_TRUE(redraw.Deliver());
        EXPECT_FALSE(redraw.Active());
        EXPECT_TRUE(finished);
        for (int v = 0; v < 4; ++v) {
            EXPECT_EQ(threaded.Picture(v), direct.Picture(v)) << count << " views, view " << v;
            if (v < count) {
                EXPECT_EQ(direct.Picture(v), run.Picture(v)) << "view " << v;
            }
        }
        // The pens come back too: the next line goes on from the end of the path (in each
        // view, also one that left out the path's last items).
        for (int v = 0; v < count; ++v) {
            threaded.pointers[v]->LineTo({0, 0, 0});
            direct.pointers[v]->LineTo({0, 0, 0});
            EXPECT_EQ(threaded.Picture(v), direct.Picture(v)) << count << " views, view " << v;
        }
    }
}

TEST(PathRedraw, ACancelledOrOutdatedRedrawLeavesThePicturesAlone) {
    Settings settings;
    NoViews none;
    PathDrawer drawer(none, settings);
    DrawPath(drawer);
    Views views;
    const QImage before = views.Picture(0).copy();  // the canvas draws into its own image
    PathRedraw redraw;
    std::atomic<bool> finished{false};
    const auto draw = [&](PathViews& into, const VertexList::BoxFilter& filter) {
        drawer.Redraw(into, filter);
    };
    // This redraw waits for its cancel before drawing, so the cancel never comes too late.
    const auto held = [&](PathViews& into, const VertexList::BoxFilter& filter) {
        constexpr double kAll = std::numeric_limits<double>::infinity();
        PathBox everywhere;
        everywhere.low = {-kAll, -kAll, -kAll};
        everywhere.high = {kAll, kAll, kAll};
        while (filter(everywhere))
            std::this_thread::yield();
        drawer.Redraw(into, filter);
    };
    redraw.Start(views.pointers.data(), 4, held, [&] { finished = true; });
    redraw.Cancel();
    EXPECT_FALSE(redraw.Active());
    EXPECT_TRUE(redraw.Deliver());  // nothing to deliver
    EXPECT_EQ(views.Picture(0), before);
    EXPECT_FALSE(finished);

    // A surface resized while the redraw runs keeps its picture; the others get theirs.
    redraw.Start(views.pointers.data(), 2, draw);
    views.pointers[1]->resize(90, 70);
    EXPECT_FALSE(redraw.Deliver());
    EXPECT_NE(views.Picture(0), before);
    EXPECT_EQ(views.Picture(1).size(), QSize(90, 70));
}

}  // namespace
}  // namespace cuttrace
