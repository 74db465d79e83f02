// Draws each executed motion into the views, animated at the programmed feed or whole at
// once, keeps the drawn points for redrawing and adds up the machining time.
//
// Four families are drawn: rapid moves (kind 0), feed lines (kind 1), arcs in the three
// planes (172/173, 182/183, 192/193) and, for every other kind, drilling cycles. Each
// motion starts from the drawer's own current position, never from the record.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/MotionRecord.h"
#include "core/Point3.h"
#include "core/Settings.h"
#include "drawing/ArcPath.h"
#include "drawing/PathViews.h"
#include "drawing/VertexList.h"

namespace cuttrace {

class PathDrawer {
  public:
    static constexpr double kRapidSpeed = 166.0;  // length units per second
    static constexpr double kArcResolution = 8.0;

    // The colors are read through references to the record's Rapid, Feed and Spot fields;
    // the record's CutterDia and Org are read at the moment they are used. Both the views
    // and the record must outlive the drawer.
    PathDrawer(PathViews& views, const Settings& settings);
    PathDrawer(const PathDrawer&) = delete;
    PathDrawer& operator=(const PathDrawer&) = delete;

    // Points the color references at another record's Rapid, Feed and Spot fields.
    void BindColors(const Settings& settings);

    // Feed per minute; the sign is ignored and 0 (or a value that is not a number) draws at
    // 1 unit per minute.
    void SetFeed(double feedPerMinute);
    double FeedSpeed() const { return feedSpeed_; }  // units per second

    // Starts drawing a motion: whole at once while quick is set, otherwise animated by the
    // following Advance calls until Busy() turns false. The views are refreshed after an
    // animated start.
    void BeginMotion(const MotionRecord& record);
    // One animation step by the seconds elapsed since the previous step or the start.
    void Advance(double seconds);

    // Draws everything stored again in its own colors, from wherever the pens are; with a
    // filter, only the chunks it accepts (VertexList::Replay).
    void Redraw(const VertexList::BoxFilter& filter = {});
    // The same into other views (a redraw on another thread: reads the stored path only).
    void Redraw(PathViews& views, const VertexList::BoxFilter& filter) const;
    // The block the next motions come from: its file and the byte offset of its line.
    void SetSource(std::string_view file, int64_t offset);
    // Forgets every stored point.
    void ClearPath();
    // Starts afresh at the origin: no motion in progress, no last point, the first feed.
    void ResetPosition();
    // Draws the origin mark in the Org color, sized for the given view scale; the pens
    // end at the origin.
    void DrawOrigin(double scale);

    bool Busy() const { return busy_; }
    bool Quick() const { return quick_; }
    void SetQuick(bool quick) { quick_ = quick; }
    bool DrawRapids() const { return drawRapids_; }
    void SetDrawRapids(bool draw) { drawRapids_ = draw; }
    double TotalTime() const { return totalTime_; }  // seconds of animated motion
    void SetTotalTime(double seconds) { totalTime_ = seconds; }

    // Where the tool is after the motions begun so far (already the end of a motion that
    // is still being animated).
    const Point3& CurrentPosition() const { return current_; }
    // The animated tool position: the last point drawn.
    const Point3& ToolPosition() const { return moving_; }
    const VertexList& Vertices() const { return vertices_; }
    // Stops (or resumes) keeping the points drawn; ClearPath resumes it.
    void SetStoringPath(bool on) { vertices_.SetStoring(on); }

    // What a quick drawing carries from one motion to the next: the tool's position, the
    // last point drawn and the end of the last contour record. Every quick motion sets its
    // color and draws whole lines, so a second drawer given these goes on drawing exactly
    // as this one would (the motions of a picture drawn in parts on several threads).
    struct QuickPens {
        Point3 current;
        Point3 moving;
        Point3 contour;
    };
    QuickPens Pens() const { return {current_, moving_, contourPoint_}; }
    // Moves the pens as BeginMotion in quick mode would, drawing and storing nothing (a
    // drawer that only follows the path, to know the pens at any motion).
    void FollowQuick(const MotionRecord& record);
    void ContinueFrom(const QuickPens& pens) {
        current_ = end_ = pens.current;
        moving_ = pens.moving;
        contourPoint_ = pens.contour;
    }

  private:
    enum class Family { None, Rapid, Feed, Arc, Cycle };

    bool SameAsCurrent(const Point3& p) const;
    uint32_t LineColor() const;
    double LineSpeed() const;

    void StartLine(Family family, const Point3& to, bool evenIfZeroLength);
    void StepLine(double seconds);
    void QuickLine(Family family, const Point3& to, bool evenIfZeroLength);

    void StartArc(const MotionRecord& record);
    void StepArc(double seconds);
    void QuickArc(const MotionRecord& record);
    bool DrawArcAsLine(const MotionRecord& record);

    // The programmed contour beside the tool-centre path (contour kinds): drawn at once in
    // the contour color, kept for redraws, never a move of the tool.
    void DrawContour(const MotionRecord& record);

    void StartCycle(const MotionRecord& record);
    void StepCycle(double seconds);
    void QuickCycle(const MotionRecord& record);
    void SetUpCycle(const MotionRecord& record);
    bool CycleBottomReached(double z) const;
    void ToolMark(const Point3& p);

    PathViews& views_;
    const Settings* settings_;
    const uint32_t* rapidColor_;
    const uint32_t* feedColor_;
    const uint32_t* cycleColor_;

    bool busy_ = false;
    bool drawRapids_ = false;
    bool quick_ = false;
    Family family_ = Family::None;
    double feedSpeed_ = 1.0;

    Point3 current_;
    Point3 end_;
    Point3 moving_;

    // Line being drawn.
    Point3 lineStart_;
    Point3 lineDelta_;
    double lineLength_ = 0.0;
    double lineProgress_ = 0.0;

    // Arc being drawn.
    ArcPath arc_;
    double angle_ = 0.0;

    // Drilling cycle being drawn.
    Point3 hole_;  // the hole at the initial level (where the cycle ends)
    double retractLevel_ = 0.0;
    double bottom_ = 0.0;
    double sign_ = 1.0;

    double totalTime_ = 0.0;
    MotionSource source_;
    VertexList vertices_;
    struct ContourSegment {
        Point3 from, to;
        uint32_t color;
    };
    std::vector<ContourSegment> contour_;
    Point3 contourPoint_;  // end of the last contour record
};

}  // namespace cuttrace
