#include "ui/VariableSheet.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace cuttrace::ui {

namespace {
constexpr int kLeft = 5;
constexpr int kTop = 6;
constexpr int kColumnStep = 90;
constexpr int kRowStep = 16;
// An entry as wide as most: the columns widen when the font needs more room for it.
constexpr char kWideEntry[] = "#299 -0000.000000";
constexpr int kGap = 6;

int ColumnStep(const QFontMetrics& metrics) {
    return std::max(kColumnStep, metrics.horizontalAdvance(QString::fromLatin1(kWideEntry)) + kGap);
}
}  // namespace

int VariableSheet::WidthFor(const QFont& font) {
    return 2 * kLeft + kColumns * ColumnStep(QFontMetrics(font));
}

VariableSheet::VariableSheet(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VariableSheet::SetTexts(const QStringList& texts) {
    if (texts == texts_) return;
    texts_ = texts;
    update();
}

void VariableSheet::SetRows(int rows) {
    if (rows == rows_ || rows < 1) return;
    rows_ = rows;
    setMinimumHeight(2 * kTop + rows_ * kRowStep);
    update();
}

void VariableSheet::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int step = ColumnStep(fontMetrics());
    for (int i = 0; i < texts_.size(); ++i) {
        const int x = kLeft + step * (i / rows_);
        const int y = kTop + kRowStep * (i % rows_);
        painter.drawText(QRect(x, y, step, kRowStep), Qt::AlignLeft | Qt::AlignTop, texts_[i]);
    }
}

}  // namespace cuttrace::ui
