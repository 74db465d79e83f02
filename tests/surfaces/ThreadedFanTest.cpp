// The threaded fan: calls drawn by its worker (or, with one surface, by the caller) give the
// pixels the same calls give on the surfaces themselves, whole chunks at a time.
#include <gtest/gtest.h>

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "surfaces/Surface3D.h"
#include "surfaces/ThreadedFan.h"

namespace cuttrace {
namespace {

struct Views {
    std::vector<std::unique_ptr<Surface3D>> surfaces;
    std::vector<Surface3D*> pointers;

    explicit Views(int count) {
        for (int i = 0; i < count; ++i) {
            auto surface = std::make_unique<Surface3D>();
            surface->resize(160, 120);
            surface->SetBuffered(true);
            surface->ResetView();
            surface->SetScale(1.5 + i);
            surface->SetRotation({30.0 * i, 10.0 * i, 0.0});
            pointers.push_back(surface.get());
            surfaces.push_back(std::move(surface));
        }
    }
};

// A path of lines, segments, moves and color changes that runs off the views now and then.
template <class Draw>
void DrawPath(Draw&& draw, int from, int to) {
    for (int i = from; i < to; ++i) {
        const double t = i * 0.37;
        const Point3 p{80.0 * std::sin(t) * std::cos(t * 0.11), 60.0 * std::cos(t * 1.3),
                       5.0 * std::sin(t * 0.7)};
        const Point3 q{p.x + 3.0, p.y - 90.0 * (i % 7 == 0), p.z};
        draw(i, p, q);
    }
}

class ThreadedFanViews : public testing::TestWithParam<int> {};

// Points winding out from p, some of them off the views.
std::vector<Point3> Spiral(const Point3& p) {
    std::vector<Point3> points;
    for (int k = 0; k < 12000; ++k) {
        const double t = k * 0.05;
        points.push_back({p.x + 0.01 * k * std::cos(t), p.y + 0.01 * k * std::sin(t), p.z});
    }
    return points;
}

TEST_P(ThreadedFanViews, DrawTheSamePixelsAsTheSurfaces) {
    const int count = GetParam();
    Views direct(count);
    Views threaded(count);
    SurfaceFan fan;
    fan.SetSurfaces(direct.pointers.data(), count);
    ThreadedFan worker;
    auto onDirect = [&](int i, const Point3& p, const Point3& q) {
        if (i % 50 == 0) {
            for (Surface3D* s : direct.pointers)
                s->SetPenColor(static_cast<uint32_t>(i * 977));
        }
        if (i % 13 == 0) {
            for (Surface3D* s : direct.pointers)
                s->MoveTo(p);
        }
        if (i % 3 == 0) {
            fan.Line(p, q);
        } else if (i % 11 == 1) {
            const Point3 chords[2] = {q, p};
            fan.LinesFrom(p, chords, 2);
        } else if (i == 29993) {
            const std::vector<Point3> spiral = Spiral(p);
            fan.LinesFrom(p, spiral.data(), spiral.size());
        } else {
            fan.LineTo(p);
        }
    };
    auto onWorker = [&](int i, const Point3& p, const Point3& q) {
        if (i % 50 == 0) worker.SetPenColor(static_cast<uint32_t>(i * 977));
        if (i % 13 == 0) worker.MoveTo(p);
        if (i % 3 == 0) {
            worker.Line(p, q);
        } else if (i % 11 == 1) {
            const Point3 chords[2] = {q, p};
            worker.LinesFrom(p, chords, 2);
        } else if (i == 29993) {
            // A long run of lines, each from the end of the one before, past a chunk's end.
            const std::vector<Point3> spiral = Spiral(p);
            for (std::size_t k = 0; k < spiral.size(); k += 1000)
                worker.LinesFrom(k == 0 ? p : spiral[k - 1], &spiral[k],
                                 std::min<std::size_t>(1000, spiral.size() - k));
        } else {
            worker.LinesTo(&p, 1);
        }
    };
    DrawPath(onDirect, 0, 30000);
    worker.Begin(threaded.pointers.data(), count);
    DrawPath(onWorker, 0, 20000);
    worker.Publish();  // part of the drawing, whole chunks only
    DrawPath(onWorker, 20000, 25000);
    // A run that ends frees the worker's copies; the next one goes on where it stopped.
    worker.Release();
    EXPECT_FALSE(worker.Active());
    worker.Begin(threaded.pointers.data(), count);
    DrawPath(onWorker, 25000, 30000);
    worker.End();
    EXPECT_FALSE(worker.Active());
    for (int v = 0; v < count; ++v) {
        EXPECT_EQ(threaded.surfaces[v]->TargetCanvas().Image(),
                  direct.surfaces[v]->TargetCanvas().Image())
            << v;
    }
    // The pens came back too: the next line goes on from the same place.
    fan.LineTo({0, 0, 0});
    SurfaceFan after;
    after.SetSurfaces(threaded.pointers.data(), count);
    after.LineTo({0, 0, 0});
    for (int v = 0; v < count; ++v) {
        EXPECT_EQ(threaded.surfaces[v]->TargetCanvas().Image(),
                  direct.surfaces[v]->TargetCanvas().Image())
            << v;
    }
}

// One view is drawn by the calling thread, two by the worker.
INSTANTIATE_TEST_SUITE_P(OneAndTwo, ThreadedFanViews, testing::Values(1, 2));

}  // namespace
}  // namespace cuttrace
