// The list of the program lines read last. It keeps as many lines as fit
// its height, less two; the oldest goes first.
#pragma once

#include "ui/EditorLaunch.h"

#include <QListWidget>
#include <string_view>

namespace cuttrace::ui {

class LineList : public QListWidget {
    Q_OBJECT
  public:
    explicit LineList(QWidget* parent = nullptr);

    // Appends a raw program line (end of line included), decoded for display, after
    // dropping the first line when the list holds more than its capacity.
    void AddLine(std::string_view raw, const LineSource& source = {});
    // Where the line in row came from (an empty path when not known).
    LineSource Source(int row) const;
    int Capacity() const { return capacity_; }
    // Recomputes the capacity from the height and the line height.
    void UpdateCapacity();
    // The capacity for a list of this height (while hidden, it gets its size only when shown).
    void UpdateCapacity(int height);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    int capacity_ = 1;
};

}  // namespace cuttrace::ui
