#include "ui/ProgramLinesView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "ui/ProgramLines.h"

namespace cuttrace::ui {

namespace {
constexpr int kRowPadding = 2;
constexpr int kTextMargin = 4;
}  // namespace

ProgramLinesView::ProgramLinesView(ProgramLines& lines, QWidget* parent)
    : QAbstractScrollArea(parent), lines_(lines) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
    const auto changed = [this] {
        UpdateScrollBars();
        viewport()->update();
    };
    connect(&lines_, &QAbstractItemModel::rowsInserted, this, changed);
    connect(&lines_, &QAbstractItemModel::modelReset, this, [this, changed] {
        current_ = -1;
        widest_ = 0;
        verticalScrollBar()->setValue(0);
        changed();
    });
    UpdateScrollBars();
}

int ProgramLinesView::RowHeight() const {
    return fontMetrics().height() + kRowPadding;
}

int ProgramLinesView::VisibleRows() const {
    return std::max(1, viewport()->height() / RowHeight());
}

int ProgramLinesView::GutterWidth() const {
    const int digits = static_cast<int>(QString::number(std::max(1, lines_.rowCount())).size());
    return fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits + 2 * kTextMargin;
}

void ProgramLinesView::UpdateScrollBars() {
    QScrollBar* vertical = verticalScrollBar();
    vertical->setPageStep(VisibleRows());
    vertical->setRange(0, std::max(0, lines_.rowCount() - VisibleRows()));
    QScrollBar* horizontal = horizontalScrollBar();
    const int room = viewport()->width() - GutterWidth();
    horizontal->setPageStep(std::max(1, room));
    horizontal->setRange(0, std::max(0, widest_ + 2 * kTextMargin - room));
}

int ProgramLinesView::RowAt(const QPoint& point) const {
    if (point.y() < 0) return -1;
    const int row = verticalScrollBar()->value() + point.y() / RowHeight();
    return row < lines_.rowCount() ? row : -1;
}

QRect ProgramLinesView::RowRect(int row) const {
    const int top = (row - verticalScrollBar()->value()) * RowHeight();
    return {0, top, viewport()->width(), RowHeight()};
}

void ProgramLinesView::SetCurrentRow(int row) {
    if (row < -1 || row >= lines_.rowCount()) return;
    if (current_ >= 0) viewport()->update(RowRect(current_));
    current_ = row;
    if (current_ >= 0) viewport()->update(RowRect(current_));
}

void ProgramLinesView::ScrollTo(int row, bool centre) {
    if (row < 0 || row >= lines_.rowCount()) return;
    QScrollBar* bar = verticalScrollBar();
    const int shown = VisibleRows();
    if (centre) {
        bar->setValue(row - shown / 2);
    } else if (row < bar->value()) {
        bar->setValue(row);
    } else if (row >= bar->value() + shown) {
        bar->setValue(row - shown + 1);
    }
}

void ProgramLinesView::Choose(int row) {
    if (row < 0 || row >= lines_.rowCount()) return;
    SetCurrentRow(row);
    ScrollTo(row, false);
    emit rowChosen(row);
}

void ProgramLinesView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPalette& colors = palette();
    const int height = RowHeight();
    const int gutter = GutterWidth();
    const int shift = horizontalScrollBar()->value();
    const int ascent = fontMetrics().ascent() + kRowPadding / 2;
    painter.fillRect(QRect(0, 0, gutter, viewport()->height()), colors.window());
    const int first = verticalScrollBar()->value() + event->rect().top() / height;
    const int last = std::min(lines_.rowCount() - 1,
                              verticalScrollBar()->value() + event->rect().bottom() / height);
    const int widestBefore = widest_;
    for (int row = first; row <= last; ++row) {
        const QRect rect = RowRect(row);
        const QString text = lines_.data(lines_.index(row), Qt::DisplayRole).toString();
        painter.setPen(colors.color(QPalette::PlaceholderText));
        painter.drawText(QRect(0, rect.top(), gutter - kTextMargin, height),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(row + 1));
        painter.setClipRect(QRect(gutter, rect.top(), rect.width() - gutter, height));
        if (row == current_) {
            painter.fillRect(rect, colors.highlight());
            painter.setPen(colors.color(QPalette::HighlightedText));
        } else {
            painter.setPen(colors.color(QPalette::Text));
        }
        painter.drawText(gutter + kTextMargin - shift, rect.top() + ascent, text);
        painter.setClipping(false);
        widest_ = std::max(widest_, fontMetrics().horizontalAdvance(text));
    }
    if (widest_ != widestBefore) UpdateScrollBars();
}

void ProgramLinesView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void ProgramLinesView::mousePressEvent(QMouseEvent* event) {
    setFocus();
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        const int row = RowAt(event->position().toPoint());
        if (row < 0) return;
        // A right click selects the row the context menu is for.
        if (event->button() == Qt::LeftButton) {
            Choose(row);
        } else {
            SetCurrentRow(row);
        }
    }
}

void ProgramLinesView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && row >= 0) emit rowActivated(row);
}

void ProgramLinesView::keyPressEvent(QKeyEvent* event) {
    const int rows = lines_.rowCount();
    const int page = VisibleRows();
    int row = current_;
    switch (event->key()) {
        case Qt::Key_Up:
            row = std::max(0, current_ - 1);
            break;
        case Qt::Key_Down:
            row = std::min(rows - 1, current_ + 1);
            break;
        case Qt::Key_PageUp:
            row = std::max(0, current_ - page);
            break;
        case Qt::Key_PageDown:
            row = std::min(rows - 1, std::max(0, current_) + page);
            break;
        case Qt::Key_Home:
            row = 0;
            break;
        case Qt::Key_End:
            row = rows - 1;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (current_ >= 0) emit rowActivated(current_);
            return;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    if (row != current_) Choose(row);
}

}  // namespace cuttrace::ui
