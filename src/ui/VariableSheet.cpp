#include "ui/VariableSheet.h"

#include <QPainter>

namespace cuttrace::ui {

namespace {
constexpr int kLeft = 5;
constexpr int kTop = 6;
constexpr int kColumnStep = 90;
constexpr int kRowStep = 16;
}  // namespace

VariableSheet::VariableSheet(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VariableSheet::SetTexts(const QStringList& texts) {
    if (texts == texts_) return;
    texts_ = texts;
    update();
}

void VariableSheet::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    for (int i = 0; i < texts_.size(); ++i) {
        const int x = kLeft + kColumnStep * (i / kRows);
        const int y = kTop + kRowStep * (i % kRows);
        painter.drawText(QRect(x, y, kColumnStep, kRowStep), Qt::AlignLeft | Qt::AlignTop,
                         texts_[i]);
    }
}

}  // namespace cuttrace::ui
