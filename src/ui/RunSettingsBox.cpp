#include "ui/RunSettingsBox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>

#include "core/Settings.h"
#include "ui/MemoryUse.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

// A whole number from minimum up, or nothing.
bool ReadWhole(const QLineEdit* edit, int minimum, int& value) {
    bool ok = false;
    value = edit->text().trimmed().toInt(&ok);
    return ok && value >= minimum;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

}  // namespace

RunSettingsBox::RunSettingsBox(QWidget* parent) : QGroupBox(Tr(kRunsGroup), parent) {
    auto* form = new QFormLayout(this);
    maxSteps_ = Named(new QLineEdit(this), "maxStepsEdit");
    maxSteps_->setToolTip(Tr(kStepLimitTip));
    pathMemory_ = Named(new QLineEdit(this), "pathMemoryEdit");
    pathMemory_->setToolTip(Tr(kPathMemoryTip));
    pathMemory_->setPlaceholderText(Tr(kPathMemoryDefault).arg(DefaultPathMemoryBytes() >> 20));
    rapidRate_ = Named(new QLineEdit(this), "rapidRateEdit");
    rapidRate_->setToolTip(Tr(kRapidRateTip));
    keepDrawing_ = Named(new QCheckBox(Tr(kKeepDrawing), this), "keepDrawingBox");
    stepEveryLine_ = Named(new QCheckBox(Tr(kStepEveryLine), this), "stepEveryLineBox");
    autoFit_ = Named(new QCheckBox(Tr(kAutoFit), this), "autoFitBox");
    form->addRow(Tr(kStepLimit), maxSteps_);
    form->addRow(Tr(kPathMemory), pathMemory_);
    form->addRow(Tr(kRapidRate), rapidRate_);
    form->addRow(keepDrawing_);
    form->addRow(stepEveryLine_);
    form->addRow(autoFit_);
}

void RunSettingsBox::Load(const Settings& settings) {
    maxSteps_->setText(QString::number(settings.maxSteps));
    pathMemory_->setText(settings.pathMemoryMb > 0 ? QString::number(settings.pathMemoryMb)
                                                   : QString());
    rapidRate_->setText(QString::number(static_cast<long long>(settings.rapidRate)));
    keepDrawing_->setChecked(settings.keepDrawingOnOpen);
    stepEveryLine_->setChecked(settings.singleBlockEveryLine);
    autoFit_->setChecked(settings.autoFit);
}

QString RunSettingsBox::Check() const {
    int value = 0;
    if (!ReadWhole(maxSteps_, 1, value)) {
        maxSteps_->setFocus();
        return Tr(kStepLimitBad);
    }
    if (!pathMemory_->text().trimmed().isEmpty() && !ReadWhole(pathMemory_, 0, value)) {
        pathMemory_->setFocus();
        return Tr(kPathMemoryBad);
    }
    if (!ReadWhole(rapidRate_, 1, value)) {
        rapidRate_->setFocus();
        return Tr(kRapidRateBad);
    }
    return {};
}

void RunSettingsBox::Apply(Settings& settings) const {
    settings.maxSteps = maxSteps_->text().trimmed().toInt();
    settings.pathMemoryMb = pathMemory_->text().trimmed().toInt();
    settings.rapidRate = rapidRate_->text().trimmed().toInt();
    settings.keepDrawingOnOpen = keepDrawing_->isChecked();
    settings.singleBlockEveryLine = stepEveryLine_->isChecked();
    settings.autoFit = autoFit_->isChecked();
}

}  // namespace cuttrace::ui
