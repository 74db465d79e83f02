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
    penColorKnown_ = false;
    layout_ = layout >= 0 && layout < 4 ? layout : 0;
    visibleCount_ = 0;
    for (int number : kOrder[layout_]) {
        if (number == 0) break;
        ViewPane* view = views_[static_cast<std::size_t>(number - 1)];
        if (!view) continue;
        visible_[static_cast<std::size_t>(visibleCount_)] = view;
        surfaces_[static_cast<std::size_t>(visibleCount_)] = view->Panel()->DrawBox3D1();
        ++visibleCount_;
    }
}

void ViewFanout::DrawColor(uint32_t color) {
    if (penColorKnown_ && color == penColor_) return;
    penColor_ = color;
    penColorKnown_ = true;
    for (int i = 0; i < visibleCount_; ++i)
        surfaces_[static_cast<std::size_t>(i)]->SetColor(color);
}

void ViewFanout::DrawMoveTo(const Point3& p) {
    for (int i = 0; i < visibleCount_; ++i)
        surfaces_[static_cast<std::size_t>(i)]->MoveTo(p);
}

void ViewFanout::DrawLineTo(const Point3& p) {
    PixelPoint to[kViews];
    for (int i = 0; i < visibleCount_; ++i)
        to[i] = surfaces_[static_cast<std::size_t>(i)]->Gposi(p);
    for (int i = 0; i < visibleCount_; ++i)
        surfaces_[static_cast<std::size_t>(i)]->LineToPixel(to[i]);
}

void ViewFanout::DrawToolTo(const Point3& p) {
    for (int i = 0; i < visibleCount_; ++i)
        visible_[static_cast<std::size_t>(i)]->DrawToolTo(p);
}

void ViewFanout::DrawLine(const Point3& a, const Point3& b) {
    for (int i = 0; i < visibleCount_; ++i)
        surfaces_[static_cast<std::size_t>(i)]->Line(a, b);
}

void ViewFanout::RefreshViews() {
    if (redrawing_) return;
    for (ViewPane* view : views_) {
        if (view) view->CopyToScreen();
    }
}

}  // namespace cuttrace::ui
