// The only way the tool path drawer reaches the views.
//
// The main window fans each call out to its visible views; the command-line image
// renderer draws into one off-screen surface; tests record the calls.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Point3.h"

namespace cuttrace {

class PathViews {
  public:
    static constexpr uint32_t kAllViews = ~uint32_t{0};

    virtual ~PathViews() = default;

    virtual void SetColor(uint32_t color) = 0;  // 0x00BBGGRR
    virtual void DrawMoveTo(const Point3& p) = 0;
    virtual void DrawLineTo(const Point3& p) = 0;
    // Lines through the points in turn in the current color, as DrawLineTo for each (a
    // redraw hands its points over in runs of one color).
    virtual void DrawLinesTo(const Point3* points, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            DrawLineTo(points[i]);
    }
    // Lines from `from` through the points in turn, each as DrawLine (clipped to the views'
    // windows, as quick motions are drawn).
    virtual void DrawLinesFrom(const Point3& from, const Point3* points, std::size_t count) {
        Point3 a = from;
        for (std::size_t i = 0; i < count; ++i) {
            DrawLine(a, points[i]);
            a = points[i];
        }
    }
    // A line to p, then the tool picture at p when the cutter display setting is on.
    virtual void LineToShowingTool(const Point3& p) = 0;
    virtual void DrawLine(const Point3& a, const Point3& b) = 0;
    // Copies the off-screen drawing to the screen.
    virtual void Present() = 0;

    // Backwards drawing, for views that lay lines under those drawn before: the path store
    // then replays a path chunk after chunk from its end, and a part of it whose pixels are
    // all taken already is left out (its filter asks the views).
    virtual bool Backwards() const { return false; }
    // The lines drawn since the last call go under every line drawn before.
    virtual void LayUnder() {}
    // The pens go back to where they stood when backwards drawing began.
    virtual void ReturnPens() {}
    // Backwards drawing ends: what was laid shows, and the pens stand where the path ends.
    virtual void EndBackwards() {}
    // Views that are several (a bit each, the first 32), while drawing backwards: those of
    // `of` that could still show something inside the box low..high; and the views that pen
    // moves and lines go to from now on (colors go to all). Views that answer as one show
    // every box and draw everything.
    virtual uint32_t Showing(const Point3& /*low*/, const Point3& /*high*/, uint32_t of) const {
        return of;
    }
    virtual void DrawInto(uint32_t /*views*/) {}
};

// Views that draw nothing: for a drawer that only follows the path.
class NoViews : public PathViews {
  public:
    void SetColor(uint32_t) override {}
    void DrawMoveTo(const Point3&) override {}
    void DrawLineTo(const Point3&) override {}
    void LineToShowingTool(const Point3&) override {}
    void DrawLine(const Point3&, const Point3&) override {}
    void Present() override {}
};

}  // namespace cuttrace
