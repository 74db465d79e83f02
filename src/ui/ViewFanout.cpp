#include "ui/ViewFanout.h"

#include "ui/ViewPane.h"

namespace cuttrace::ui {

namespace {
// View numbers (1-based) that receive drawing, by layout.
constexpr int kOrder[4][ViewFanout::kViews] = {
    {1, 0, 0, 0}, {1, 2, 0, 0}, {1, 3, 0, 0}, {1, 4, 3, 2}};
}  // namespace

void ViewFanout::SetViews(const std::array<ViewPane*, kViews>& views) {
    views_ = views;
    SetLayout(layout_);
}

void ViewFanout::SetLayout(int layout) {
    threaded_.End();
    penColorKnown_ = false;
    layout_ = layout >= 0 && layout < 4 ? layout : 0;
    visibleCount_ = 0;
    for (int number : kOrder[layout_]) {
        if (number == 0) break;
        ViewPane* view = views_[static_cast<std::size_t>(number - 1)];
        if (!view) continue;
        visible_[static_cast<std::size_t>(visibleCount_)] = view;
        surfaces_[static_cast<std::size_t>(visibleCount_)] = view->Panel()->Surface();
        ++visibleCount_;
    }
    firstDrawn_ = 0;
    fan_.SetSurfaces(surfaces_.data(), visibleCount_);
}

void ViewFanout::SetSkipFirst(bool on) {
    firstDrawn_ = on && visibleCount_ > 0 ? 1 : 0;
    penColorKnown_ = false;
    fan_.SetSurfaces(surfaces_.data() + firstDrawn_, visibleCount_ - firstDrawn_);
}

void ViewFanout::SetDeferred(bool on) {
    deferred_ = on && threadingAllowed_;
    if (!deferred_) threaded_.End();
}

bool ViewFanout::Deferring() {
    if (!deferred_) return false;
    if (threaded_.Active()) return true;
    // Views that draw straight on the screen show each line at once: not for the worker.
    for (int i = 0; i < visibleCount_; ++i) {
        if (!surfaces_[static_cast<std::size_t>(i)]->IsBuffered()) return false;
    }
    const int drawn = firstViewOnly_ ? 1 : visibleCount_;
    threaded_.Begin(surfaces_.data(), drawn);
    if (drawn < visibleCount_) leftBehind_ = true;
    return true;
}

void ViewFanout::SetColor(uint32_t color) {
    if (penColorKnown_ && color == penColor_) return;
    penColor_ = color;
    penColorKnown_ = true;
    if (Deferring()) {
        threaded_.SetPenColor(color);
        return;
    }
    for (int i = firstDrawn_; i < visibleCount_; ++i)
        surfaces_[static_cast<std::size_t>(i)]->SetPenColor(color);
}

void ViewFanout::DrawMoveTo(const Point3& p) {
    if (Deferring()) {
        threaded_.MoveTo(p);
        return;
    }
    for (int i = firstDrawn_; i < visibleCount_; ++i)
        surfaces_[static_cast<std::size_t>(i)]->MoveTo(p);
}

void ViewFanout::DrawLineTo(const Point3& p) {
    if (Deferring()) {
        threaded_.LineTo(p);
        return;
    }
    fan_.LineTo(p);
}

void ViewFanout::DrawLinesTo(const Point3* points, std::size_t count) {
    if (Deferring()) {
        threaded_.LinesTo(points, count);
        return;
    }
    fan_.LinesTo(points, count);
}

void ViewFanout::DrawLinesFrom(const Point3& from, const Point3* points, std::size_t count) {
    if (Deferring()) {
        threaded_.LinesFrom(from, points, count);
        return;
    }
    fan_.LinesFrom(from, points, count);
}

void ViewFanout::LineToShowingTool(const Point3& p) {
    threaded_.End();  // the tool picture draws on the views themselves
    for (int i = firstDrawn_; i < visibleCount_; ++i)
        visible_[static_cast<std::size_t>(i)]->LineToShowingTool(p);
}

void ViewFanout::DrawLine(const Point3& a, const Point3& b) {
    if (Deferring()) {
        threaded_.Line(a, b);
        return;
    }
    fan_.Line(a, b);
}

void ViewFanout::Present() {
    if (redrawing_) return;
    // While the worker draws, the off-screen drawings change only when it publishes, and
    // only the first view's while the others are left behind.
    if (!threaded_.Publish()) return;
    if (leftBehind_ && threaded_.Active()) {
        visible_[0]->CopyToScreen();
        return;
    }
    for (ViewPane* view : views_) {
        if (view) view->CopyToScreen();
    }
}

}  // namespace cuttrace::ui
