#include "ui/LineList.h"

#include <QResizeEvent>
#include <algorithm>

#include "ui/ProgramText.h"

namespace cuttrace::ui {

namespace {
constexpr int kSpareLines = 2;
}  // namespace

LineList::LineList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    UpdateCapacity();
}

void LineList::AddLine(std::string_view raw) {
    if (count() > capacity_) delete takeItem(0);
    addItem(DecodeProgramLine(raw));
    scrollToBottom();
}

void LineList::UpdateCapacity() {
    const int lineHeight = std::max(1, fontMetrics().height());
    capacity_ = std::max(1, viewport()->height() / lineHeight - kSpareLines);
}

void LineList::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    UpdateCapacity();
}

}  // namespace cuttrace::ui
