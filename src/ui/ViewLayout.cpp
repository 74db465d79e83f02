#include "ui/ViewLayout.h"

#include <QSplitter>
#include <QWidget>

#include "ui/ViewFanout.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

namespace {

struct LayoutRule {
    bool shown[4];     // views 0..3
    bool rightColumn;  // the column of views 1 and 3
    int preset[4];     // the rotation preset given to each view, -1 for none
};

constexpr LayoutRule kRules[ViewLayout::kLayouts] = {
    {{true, false, false, false}, false, {-1, -1, -1, -1}},
    {{true, true, false, false}, true, {-1, 1, -1, -1}},
    {{true, false, true, false}, false, {-1, -1, 2, -1}},
    {{true, true, true, true}, true, {-1, 1, 3, 2}},
};

// Shares the splitter's room evenly among the widgets it shows (a widget shown again would
// otherwise come back at the size it had when hidden, a sliver at first). The splitter first
// takes note of what was shown and hidden meanwhile.
void SplitEvenly(QWidget* widget) {
    auto* splitter = qobject_cast<QSplitter*>(widget);
    if (splitter == nullptr) return;
    splitter->refresh();
    splitter->setSizes(QList<int>(splitter->count(), 1 << 16));
}

}  // namespace

ViewLayout::ViewLayout(const std::array<ViewPane*, 4>& views, QWidget& rightViewColumn,
                       ViewFanout& fanout)
    : views_(views), rightViewColumn_(rightViewColumn), fanout_(fanout) {
    for (std::size_t i = 0; i < views_.size(); ++i) {
        Surface3D* surface = views_[i]->Panel()->Surface();
        sizes_[i] = surface->size();
        QObject::connect(surface, &Surface3D::resized, surface, [this, i] { KeepCentred(i); });
    }
}

void ViewLayout::KeepCentred(std::size_t view) {
    Surface3D* surface = views_[view]->Panel()->Surface();
    const QSize now = surface->size();
    const QSize before = sizes_[view];
    sizes_[view] = now;
    if (views_[view]->KeepFitted()) return;  // a fitted view fits its new size
    PixelPoint origin = surface->GetOrigin();
    origin.x += now.width() / 2 - before.width() / 2;
    origin.y += now.height() / 2 - before.height() / 2;
    surface->SetOrigin(origin);
}

void ViewLayout::Apply(int layout) {
    const int before = layout_;
    layout_ = layout >= 0 && layout < kLayouts ? layout : 0;
    const LayoutRule& rule = kRules[layout_];
    fanout_.SetLayout(layout_);
    rightViewColumn_.setVisible(rule.rightColumn);
    for (std::size_t i = 0; i < views_.size(); ++i)
        views_[i]->setVisible(rule.shown[i]);
    if (layout_ != before) {
        // The columns, and the views within each column (0 over 2, 1 over 3).
        SplitEvenly(rightViewColumn_.parentWidget());
        SplitEvenly(views_[0]->parentWidget());
        SplitEvenly(views_[1]->parentWidget());
    }
    for (std::size_t i = 0; i < views_.size(); ++i) {
        if (rule.preset[i] >= 0) views_[i]->ApplyViewPreset(rule.preset[i]);
    }
    for (ViewPane* view : views_)
        view->Panel()->ResetView();
}

}  // namespace cuttrace::ui
