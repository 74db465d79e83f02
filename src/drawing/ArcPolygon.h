// The polygon a quick arc is drawn with: from the start, the offset from the centre is
// turned by a fixed step for each point; the last point lies exactly on the end angle.
//
// The vertex list keeps a quick arc as this recipe rather than as its points, and
// replays it through the same code, so a redraw shows exactly the points drawn.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/MotionRecord.h"
#include "core/Point3.h"
#include "drawing/ArcPath.h"

namespace cuttrace {

class ArcPolygon {
  public:
    struct Cursor {
        double a;  // offset from the centre on the first and second axis
        double b;
        int64_t k;  // points given so far
    };

    ArcPolygon() = default;  // uninitialised: only for storage that is filled later
    // The polygon a quick arc is drawn with: 40 degrees over the radius a step (a quarter
    // turn up to radius 1), never below a hundredth of a degree.
    static ArcPolygon Quick(const ArcPath& arc);
    // An arc that is not degenerate, drawn in steps of stepDegrees (> 0) in its sense.
    ArcPolygon(const ArcPath& arc, double stepDegrees);

    static constexpr std::size_t kBatch = 256;  // points a Fill gives at most

    int64_t Count() const { return count_; }  // points (and segments), at least 1
    Cursor Begin() const { return {a0_, b0_, 0}; }
    // The next points, up to kBatch of them, into out; returns how many (0 at the end).
    // Drawing and redrawing both go through here, so they give the same points.
    std::size_t Fill(Cursor& cursor, Point3* out) const;
    // The last point.
    Point3 Last() const { return {lastX_, lastY_, lastZ_}; }
    // A box that holds every point (the part of the circle the arc turns through, a little
    // wider).
    void Bounds(Point3& low, Point3& high) const;
    // Whether Bounds' box surely lies within low..high, found without its angles: the box
    // of the whole circle, wider by far more than any rounding, lies within. False for
    // values that are not numbers.
    bool BoundsWithin(const Point3& low, const Point3& high) const;

  private:
    int first_;  // the plane's first axis: 0 XY, 2 ZX, 1 YZ
    int64_t count_;
    double centreFirst_;
    double centreSecond_;
    double a0_;
    double b0_;
    double cosStep_;
    double sinStep_;
    double normalStart_;
    double normalPerStep_;
    double lastX_;  // the point at the end angle
    double lastY_;
    double lastZ_;
};

// A box that holds every point of the polygon of the quick arc from start for the record
// (ArcPolygon::Quick), found without making it: the start, the end and the quarter points of
// the circle the turn passes (all four where the turn is in doubt), a little wider. False
// when there is none to give (a value that is not finite, or a start or end on the centre).
bool QuickArcBox(const Point3& start, const MotionRecord& record, Point3& low, Point3& high);

// A quick arc as the path store reads it back: from its start, for its record. The polygon
// the run drew (ArcPolygon::Quick) is made only when asked for, and the last point without
// the rest of it: a redraw leaves most arcs out, and for those a box is enough.
class StoredArc {
  public:
    void Set(const Point3& start, const MotionRecord& record) {
        start_ = start;
        record_ = record;
        made_ = false;
        lastKnown_ = false;
    }
    const Point3& Start() const { return start_; }
    // A box that holds every point of the polygon, found without making it (QuickArcBox).
    bool Box(Point3& low, Point3& high) const { return QuickArcBox(start_, record_, low, high); }
    const ArcPolygon& Polygon() {
        if (!made_) {
            polygon_ = ArcPolygon::Quick(ArcPath::Make(start_, record_));
            made_ = true;
        }
        return polygon_;
    }
    // The polygon's last point, to the last bit.
    Point3 Last();

  private:
    Point3 start_;
    MotionRecord record_;
    ArcPolygon polygon_;
    Point3 last_;
    bool made_ = false;
    bool lastKnown_ = false;
};

}  // namespace cuttrace
