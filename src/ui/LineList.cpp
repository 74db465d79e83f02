#include "ui/LineList.h"

#include <QResizeEvent>
#include <algorithm>

#include "ui/ProgramText.h"

namespace cuttrace::ui {

namespace {
constexpr int kSpareLines = 2;
constexpr int kPathRole = Qt::UserRole;
constexpr int kOffsetRole = Qt::UserRole + 1;
}  // namespace

LineList::LineList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    UpdateCapacity();
}

void LineList::AddLine(std::string_view raw, const LineSource& source) {
    if (count() > capacity_) delete takeItem(0);
    auto* item = new QListWidgetItem(DecodeProgramLine(raw));
    if (!source.path.empty()) {
        item->setData(kPathRole, PathToQString(source.path));
        item->setData(kOffsetRole, static_cast<qlonglong>(source.offset));
    }
    addItem(item);
    scrollToBottom();
}

LineSource LineList::Source(int row) const {
    const QListWidgetItem* line = item(row);
    if (!line || line->data(kPathRole).isNull()) return {};
    return {PathFromQString(line->data(kPathRole).toString()),
            line->data(kOffsetRole).toLongLong()};
}

void LineList::UpdateCapacity() {
    const int lineHeight = std::max(1, fontMetrics().height());
    capacity_ = std::max(1, viewport()->height() / lineHeight - kSpareLines);
}

void LineList::UpdateCapacity(int height) {
    const int lineHeight = std::max(1, fontMetrics().height());
    capacity_ = std::max(1, (height - 2 * frameWidth()) / lineHeight - kSpareLines);
}

void LineList::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    UpdateCapacity();
}

}  // namespace cuttrace::ui
