// The extent of a tool path as a view with a given rotation shows it (turned, unscaled),
// for fitting a picture to the path.
//
// PathBounds takes the extent of whatever is drawn into it. MotionExtent gives the same
// extent straight from the motions, without drawing them: each motion starts where the
// previous one ended (the first at the model origin); lines run between their ends, arcs
// through their extreme points, drilling cycles from the hole at the start level down to
// the bottom, with the cutter-size marks of the quick drawing.
#pragma once

#include <cstdint>

#include "core/MotionRecord.h"
#include "core/Point3.h"
#include "drawing/PathViews.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {

class PathBounds : public PathViews {
  public:
    explicit PathBounds(const Point3& rotation);

    bool Empty() const { return empty_; }
    double MinX() const { return minX_; }
    double MaxX() const { return maxX_; }
    double MinY() const { return minY_; }
    double MaxY() const { return maxY_; }
    const Point3& Rotation() const { return turn_.Rotation(); }

    // p turned by the rotation.
    Point3 Rotated(const Point3& p) const {
        Point3 q = p;
        turn_.ScaleAndRotate(q);
        return q;
    }
    // Takes in a point (points that are not finite are left out).
    void Add(const Point3& p);

    void SetColor(uint32_t) override {}
    void DrawMoveTo(const Point3& p) override { Add(p); }
    void DrawLineTo(const Point3& p) override { Add(p); }
    void LineToShowingTool(const Point3& p) override { Add(p); }
    void DrawLine(const Point3& a, const Point3& b) override {
        Add(a);
        Add(b);
    }
    void Present() override {}

  private:
    Projection3D turn_;
    bool empty_ = true;
    double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
};

class MotionExtent {
  public:
    // markRadius: the cutter size setting, the radius of the drilling marks.
    MotionExtent(const Point3& rotation, double markRadius);

    void Add(const MotionRecord& motion);
    const PathBounds& Bounds() const { return bounds_; }

  private:
    // A plane turned by the rotation: the turned x (index 0) and y (index 1) of the unit
    // vectors along its first, second and normal axes.
    struct Plane {
        int first = 0, second = 1, normal = 2;
        double u[2] = {1, 0}, v[2] = {0, 1}, w[2] = {0, 0};
    };
    Plane Turn(int first, int second, int normal) const;

    // A circle or a helix (or part of one) in a plane: centre on the first and second axes
    // and radius, swept from angle `from` to `to` (degrees from the first axis towards the
    // second), the normal coordinate moving from normalFrom to normalTo in proportion.
    struct Circle {
        const Plane* plane = nullptr;
        double centreFirst = 0, centreSecond = 0, radius = 0;
        double from = 0, to = 360;
        double normalFrom = 0, normalTo = 0;
    };
    void AddLine(const Point3& to);
    // The start of the next motion, unless it is in already.
    void AddCurrent();
    void AddArc(const MotionRecord& motion);
    void AddCycle(const MotionRecord& motion);
    void AddCircle(const Circle& circle);

    PathBounds bounds_;
    double markRadius_;
    Point3 current_;
    bool currentAdded_ = false;  // current_ is in bounds_
    Plane xy_, zx_, yz_;
};

}  // namespace cuttrace
