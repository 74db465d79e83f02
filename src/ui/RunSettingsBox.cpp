#include "ui/RunSettingsBox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>

#include "core/Settings.h"
#include "ui/MemoryUse.h"

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

RunSettingsBox::RunSettingsBox(QWidget* parent) : QGroupBox(tr("Runs"), parent) {
    auto* form = new QFormLayout(this);
    maxSteps_ = Named(new QLineEdit(this), "maxStepsEdit");
    maxSteps_->setToolTip(tr("A run ends after this many steps of the engine"));
    pathMemory_ = Named(new QLineEdit(this), "pathMemoryEdit");
    pathMemory_->setToolTip(
        tr("Past this size the path is still drawn but no longer kept for redraws"));
    pathMemory_->setPlaceholderText(
        tr("0: a quarter of the memory (%1 MB)").arg(DefaultPathMemoryBytes() >> 20));
    rapidRate_ = Named(new QLineEdit(this), "rapidRateEdit");
    rapidRate_->setToolTip(tr("Speed of rapid moves in time estimates, per minute"));
    keepDrawing_ = Named(new QCheckBox(tr("Keep drawing when opening"), this), "keepDrawingBox");
    stepEveryLine_ =
        Named(new QCheckBox(tr("Single block stops at every line"), this), "stepEveryLineBox");
    autoFit_ = Named(new QCheckBox(tr("Fit the views to the path"), this), "autoFitBox");
    form->addRow(tr("Step limit"), maxSteps_);
    form->addRow(tr("Path memory (MB)"), pathMemory_);
    form->addRow(tr("Rapid rate"), rapidRate_);
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
        return tr("Step limit: a whole number of 1 or more");
    }
    if (!pathMemory_->text().trimmed().isEmpty() && !ReadWhole(pathMemory_, 0, value)) {
        pathMemory_->setFocus();
        return tr("Path memory: a whole number of megabytes (empty or 0 for the default)");
    }
    if (!ReadWhole(rapidRate_, 1, value)) {
        rapidRate_->setFocus();
        return tr("Rapid rate: a whole number of 1 or more");
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
