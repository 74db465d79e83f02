// The geometry of a circular or helical arc in one of the three planes.
//
// Angles are in degrees, measured from the plane's first axis towards its second:
// XY (X, Y; normal Z), ZX (Z, X; normal Y), YZ (Y, Z; normal X). The radius is taken
// from the start point; the end point gives only the end angle and the normal travel.
#pragma once

#include <cstdint>

#include "core/MotionRecord.h"
#include "core/Point3.h"
#include "drawing/Geometry.h"

namespace cuttrace {

struct ArcPath {
    int first = 0;  // axis indices of the plane
    int second = 1;
    int normal = 2;
    bool clockwise = false;
    Point3 start;
    Point3 end;
    double centreFirst = 0.0;
    double centreSecond = 0.0;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;  // past startAngle in the commanded sense; a whole turn when
                            // the end equals the start
    double span = 0.0;      // endAngle - startAngle: > 0 counter-clockwise, < 0 clockwise

    // Sets up the arc from start to the record's end point around its centre (centreFirst,
    // centreSecond); the plane and the sense come from the record's kind.
    // The last arc made on the thread is given again when start and record are the same
    // to the last bit.
    static ArcPath Make(const Point3& start, const MotionRecord& record);
    // The plane's axes (first, second, normal) of an arc of this kind.
    static void Axes(MotionKind kind, int& first, int& second, int& normal);

    // Make without looking at the last arc.
    static ArcPath Compute(const Point3& start, const MotionRecord& record);

    // No arc can be drawn: the start lies on the centre, or a value is not finite.
    bool Degenerate() const;

    // The point at an angle; the normal coordinate moves in proportion to the swept angle
    // and is exactly the end's at the end angle.
    Point3 PointAt(double angle) const;
};

}  // namespace cuttrace
