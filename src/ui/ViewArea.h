// The main window's right-hand area: the four views in two columns (views 0 and 2 on the
// left, 1 and 3 on the right, the upper one first) over the diagnostic log. Which views
// show is the ViewLayout's choice.
//
// Object names: viewColumns, leftViewColumn, rightViewColumn, view0 .. view3, logView.
#pragma once

#include <QSplitter>
#include <array>
#include <memory>

#include "core/Settings.h"

class QPlainTextEdit;

namespace cuttrace {
struct LogEntry;
}

namespace cuttrace::ui {

class ViewFanout;
class ViewLayout;
class ViewPane;

class ViewArea : public QSplitter {
    Q_OBJECT
  public:
    static constexpr int kViews = 4;
    static constexpr int kLogLines = 2000;
    static constexpr int kLogHeight = 41;

    // The fan-out is given the views; height is the window's, for the first split.
    ViewArea(const Settings& settings, ViewFanout& fanout, int height, QWidget* parent = nullptr);
    ~ViewArea() override;

    ViewPane* View(int index) const { return views_[static_cast<std::size_t>(index)]; }
    const std::array<ViewPane*, kViews>& Views() const { return views_; }
    ViewLayout& Layout() const { return *layout_; }
    QPlainTextEdit& LogView() const { return *logView_; }
    // A line of the diagnostic log; errors and warnings say where they came from:
    // "time file:line: message".
    void AppendLog(const LogEntry& entry);

  private:
    std::array<ViewPane*, kViews> views_{};
    QSplitter* rightViewColumn_ = nullptr;
    QPlainTextEdit* logView_ = nullptr;
    std::unique_ptr<ViewLayout> layout_;
};

}  // namespace cuttrace::ui
