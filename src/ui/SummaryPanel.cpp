#include "ui/SummaryPanel.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <cmath>

#include "core/RunMessages.h"
#include "ui/ProgramText.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

constexpr int kFontPixels = 11;

QString Number(double value) {
    return QString::number(value, 'f', 3);
}

}  // namespace

SummaryPanel::SummaryPanel(QWidget* parent) : QGroupBox(Tr(kSummaryGroup), parent) {
    setObjectName(QStringLiteral("summaryPanel"));
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(4, 2, 4, 2);
    form->setVerticalSpacing(0);
    x_ = AddRow(QStringLiteral("X"), "summaryX");
    y_ = AddRow(QStringLiteral("Y"), "summaryY");
    z_ = AddRow(QStringLiteral("Z"), "summaryZ");
    feed_ = AddRow(Tr(kSummaryFeed), "summaryFeed");
    rapid_ = AddRow(Tr(kSummaryRapid), "summaryRapid");
    time_ = AddRow(Tr(kSummaryTime), "summaryTime");
    motions_ = AddRow(Tr(kSummaryMotions), "summaryMotions");
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("summaryState"));
    state_->setWordWrap(true);
    form->addRow(state_);
}

QLabel* SummaryPanel::AddRow(const QString& caption, const char* objectName) {
    auto* value = new QLabel(this);
    value->setObjectName(QString::fromLatin1(objectName));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    static_cast<QFormLayout*>(layout())->addRow(caption, value);
    return value;
}

QString SummaryPanel::Duration(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) return QStringLiteral("-");
    if (seconds < 60) return QStringLiteral("%1 s").arg(seconds, 0, 'f', 1);
    const auto whole = static_cast<long long>(std::llround(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

void SummaryPanel::Clear() {
    for (QLabel* label : {x_, y_, z_, feed_, rapid_, time_, motions_, state_})
        label->clear();
}

void SummaryPanel::ShowSurveying() {
    Clear();
    state_->setText(Tr(kSummaryLooking));
}

void SummaryPanel::Show(const PathSummary& s, long long maxSteps) {
    Clear();
    if (!s.Empty()) {
        x_->setText(Number(s.min.x) + QStringLiteral(" … ") + Number(s.max.x));
        y_->setText(Number(s.min.y) + QStringLiteral(" … ") + Number(s.max.y));
        z_->setText(Number(s.min.z) + QStringLiteral(" … ") + Number(s.max.z));
    }
    feed_->setText(Number(s.feedLength));
    rapid_->setText(Number(s.rapidLength));
    time_->setText(Duration(s.seconds));
    motions_->setText(QString::number(s.motions));
    switch (s.end) {
        case PathSummary::End::Finished:
            break;
        case PathSummary::End::StepLimit:
            state_->setText(Tr(kStepLimitReached).arg(maxSteps));
            break;
        case PathSummary::End::Failed: {
            QString where = QFileInfo(PathToQString(s.failedFile)).fileName();
            if (s.failedLine > 0) where += QStringLiteral(":%1").arg(s.failedLine);
            state_->setText(Tr(kSummaryFails).arg(where, Tr(messages::EndRunMessage(s.result))));
            break;
        }
        case PathSummary::End::Cancelled:
            break;
    }
}

}  // namespace cuttrace::ui
