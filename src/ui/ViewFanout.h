// The main window's view fan-out: every drawing call of the tool path drawer goes to the
// views the layout shows, view 0 first (one view: 0; two: 0 and 1, or 0 and 2; four: 0, 3,
// 2 and 1). Present copies all four off-screen drawings to the screen, except while a
// full redraw is in progress (that redraw refreshes once at its end). A color that repeats
// the last one is not passed on: a redraw sets the color before every point.
//
// Pen moves, lines and colors go straight to the views' surfaces (what the views' own
// drawing operations do); a LineTo point is projected for every view before any draws.
#pragma once

#include <array>
#include <cstdint>

#include "drawing/PathViews.h"
#include "drawing/VertexList.h"
#include "surfaces/Surface3D.h"
#include "surfaces/ThreadedFan.h"

namespace cuttrace::ui {

class ViewPane;

class ViewFanout final : public PathViews {
  public:
    static constexpr int kViews = 4;

    void SetViews(const std::array<ViewPane*, kViews>& views);
    // Layout 0 to 3; anything else is taken as 0.
    void SetLayout(int layout);
    int Layout() const { return layout_; }
    // The views that receive drawing, in order.
    int VisibleCount() const { return visibleCount_; }
    ViewPane* Visible(int i) const { return visible_[static_cast<std::size_t>(i)]; }
    ViewPane* View(int i) const { return views_[static_cast<std::size_t>(i)]; }
    // The surfaces of the visible views, in drawing order (VisibleCount of them).
    Surface3D* const* VisibleSurfaces() const { return surfaces_.data(); }

    // The next SetColor goes to the views even when it repeats the last color (call it
    // when anything else may have changed the views' pens).
    void InvalidatePenColor() { penColorKnown_ = false; }

    // Whether a visible view could show something inside the box (a redraw leaves out
    // what none could).
    bool MayShow(const PathBox& box) const { return fan_.BoxMayShow(box.low, box.high); }

    // While set (a quick run), the path calls are drawn by a worker thread (ThreadedFan):
    // Present shows what it has finished. Clearing it, EndDeferred, a layout change and
    // anything that is not a path call wait for the worker to finish first.
    void SetDeferred(bool on);
    // With this set too, a deferred drawing draws the first view only and leaves the others
    // behind (LeftBehind), for a redraw of the stored path to bring up to date when the run
    // stops: drawing every motion in every view as it comes costs several times a redraw,
    // which leaves out what later lines cover and keeps both cores busy. Taken at the start
    // of the next deferred drawing.
    void SetFirstViewOnly(bool on) { firstViewOnly_ = on; }
    // Whether views were left behind since the last CaughtUp (which a clear of every view
    // calls).
    bool LeftBehind() const { return leftBehind_; }
    void CaughtUp() { leftBehind_ = false; }
    bool Deferred() const { return deferred_; }
    void EndDeferred() { threaded_.End(); }
    // Ends it and frees the worker's copies of the views (the run is over).
    void ReleaseDeferred() { threaded_.Release(); }
    // Starts the worker of a deferred drawing now, on the calling thread; whether the path
    // calls that follow go to it (then they may come from another thread, one at a time,
    // until the next EndDeferred, Present or layout change).
    bool PrepareDeferred() { return Deferring(); }
    // Off: SetDeferred has no effect (everything is drawn on the calling thread).
    void SetThreadingAllowed(bool on) { threadingAllowed_ = on; }

    // While set, drawing calls that are not deferred leave the first view alone (a redraw
    // of the views a run left behind: the first has the whole path already).
    void SetSkipFirst(bool on);
    bool SkipFirst() const { return firstDrawn_ > 0; }

    void SetRedrawing(bool on) { redrawing_ = on; }
    bool Redrawing() const { return redrawing_; }

    void SetColor(uint32_t color) override;
    void DrawMoveTo(const Point3& p) override;
    void DrawLineTo(const Point3& p) override;
    void DrawLinesTo(const Point3* points, std::size_t count) override;
    void DrawLinesFrom(const Point3& from, const Point3* points, std::size_t count) override;
    void LineToShowingTool(const Point3& p) override;
    void DrawLine(const Point3& a, const Point3& b) override;
    void Present() override;

  private:
    // Whether this path call goes to the worker (starting it when needed).
    bool Deferring();

    std::array<ViewPane*, kViews> views_{};
    std::array<ViewPane*, kViews> visible_{};
    std::array<Surface3D*, kViews> surfaces_{};  // of the visible views
    SurfaceFan fan_;                             // the same surfaces, for the path
    int visibleCount_ = 0;
    int firstDrawn_ = 0;  // 1 while the first view is skipped
    int layout_ = 0;
    bool redrawing_ = false;
    bool deferred_ = false;
    bool threadingAllowed_ = true;
    bool firstViewOnly_ = false;
    bool leftBehind_ = false;
    ThreadedFan threaded_;
    // The pen color the visible views were last given: a repeat is not passed on.
    uint32_t penColor_ = 0;
    bool penColorKnown_ = false;
};

}  // namespace cuttrace::ui
