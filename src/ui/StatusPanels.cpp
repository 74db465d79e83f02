#include "ui/StatusPanels.h"

#include <QLabel>
#include <QStatusBar>

namespace cuttrace::ui {

namespace {
constexpr int kWidths[StatusPanels::kCount] = {100, 150, 80, 80, 80, 50};
constexpr const char* kNames[StatusPanels::kCount] = {
    "scaleStatus", "dialectStatus", "rotationStatus", "lineStatus", "bufferStatus", "modeStatus"};
}  // namespace

StatusPanels::StatusPanels(QStatusBar& bar) {
    for (int i = 0; i < kCount; ++i) {
        auto* label = new QLabel(&bar);
        label->setObjectName(QString::fromLatin1(ObjectName(i)));
        label->setMinimumWidth(kWidths[i]);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar.addWidget(label, i == kCount - 1 ? 1 : 0);
        labels_[static_cast<std::size_t>(i)] = label;
    }
}

void StatusPanels::Set(int panel, const QString& text) {
    labels_[static_cast<std::size_t>(panel)]->setText(text);
}

const char* StatusPanels::ObjectName(int panel) {
    return kNames[panel];
}

}  // namespace cuttrace::ui
