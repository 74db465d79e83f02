#include "ui/StatusPanels.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

#include "ui/SummaryPanel.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {
constexpr int kProgressWidth = 200;
constexpr long long kMaxBarSteps = 1000000;
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
    progress_ = new QProgressBar(&bar);
    progress_->setObjectName(QStringLiteral("runProgress"));
    progress_->setFixedWidth(kProgressWidth);
    remaining_ = new QLabel(&bar);
    remaining_->setObjectName(QStringLiteral("remainingStatus"));
    bar.addPermanentWidget(progress_);
    bar.addPermanentWidget(remaining_);
    ShowProgress(0, 0, 0.0);
}

void StatusPanels::ShowProgress(long long done, long long total, double secondsLeft) {
    progress_->setVisible(total > 0);
    remaining_->setVisible(total > 0);
    if (total <= 0) return;
    // The bar counts in steps of an int; a larger total is shown in proportion.
    const long long scale = total / kMaxBarSteps + 1;
    progress_->setRange(0, static_cast<int>(total / scale));
    progress_->setValue(static_cast<int>(std::clamp(done, 0LL, total) / scale));
    progress_->setFormat(Tr(kProgressMotion).arg(done).arg(total));
    remaining_->setText(Tr(kProgressLeft).arg(SummaryPanel::Duration(secondsLeft)));
}

void StatusPanels::Set(int panel, const QString& text) {
    labels_[static_cast<std::size_t>(panel)]->setText(text);
}

const char* StatusPanels::ObjectName(int panel) {
    return kNames[panel];
}

}  // namespace cuttrace::ui
