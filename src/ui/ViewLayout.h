// Which of the four views the main window shows: one view (layout 0), views 0 and 1
// (layout 1), views 0 and 2 (layout 2) or all four (layout 3). Choosing a layout shows
// and hides the views and the right-hand panel, gives the newly shown views their
// rotations and re-initialises every view's panel.
//
// When a view changes size (a layout change, a splitter, the window) its drawing keeps its
// place relative to the view's centre, so a centred drawing stays centred.
#pragma once

#include <QSize>
#include <array>

class QWidget;

namespace cuttrace::ui {

class ViewPane;
class ViewFanout;

class ViewLayout {
  public:
    static constexpr int kLayouts = 4;

    // rightViewColumn holds views 1 and 3.
    ViewLayout(const std::array<ViewPane*, 4>& views, QWidget& rightViewColumn, ViewFanout& fanout);

    void Apply(int layout);
    // The layout after this one (3 wraps to 0).
    int Next() const { return (layout_ + 1) % kLayouts; }
    int Current() const { return layout_; }

  private:
    void KeepCentred(std::size_t view);

    std::array<ViewPane*, 4> views_;
    std::array<QSize, 4> sizes_;
    QWidget& rightViewColumn_;
    ViewFanout& fanout_;
    int layout_ = 0;
};

}  // namespace cuttrace::ui
